#pragma once

#include <QString>
#include <array>

// Every message the cut can end with, on the panel or from its work thread.
enum class CutMessage {
    None,  // nothing to say (a cut refused silently, or already reported)
    GetKeyFramePosFail,
    StartNotLessThanEnd,
    DiskNotEnough,
    CreateThreadFail,
    CreateFileFail,
    AllocMemFail,
    ReadFileFail,
    WriteFileFail,
    CutSucc,
    CutFail,
    UserCancel,
};
inline constexpr size_t CUT_MESSAGE_COUNT = 12;

// The language key and English default of a message.
struct CutMessageText {
    const char* szKey;
    const char* szDefault;
};
CutMessageText CutMessageKey(CutMessage eMessage);

// The texts in the current language, looked up once when the panel opens.
class CCutMessageTexts {
public:
    void Load();
    const QString& Text(CutMessage eMessage) const {
        return m_texts[static_cast<size_t>(eMessage)];
    }

private:
    std::array<QString, CUT_MESSAGE_COUNT> m_texts;
};
