#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>

#include "tools/mediaprobe/media_probe_result.h"

class CInfoTabPage;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QWidget;

// What the file information shows of the selected pane besides the file itself.
struct FileInfoSource {
    QString strPath;
    int32_t nFrameRate = 0;
    int32_t nWidth = 0;
    int32_t nHeight = 0;
    uint32_t nFileSeconds = 0;  // the file's total time
};

// The modal file information window: the file's name above a tab control
// whose "Basic Info" page shows type, size, length, resolution and path, and
// whose "Extra Info" page shows the video format, frame rate and audio format.
// Everything is filled once, when it opens.
class CFileInfoDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int FILE_NAME_LABEL_ID = 1104;
    static constexpr int FILE_NAME_ID = 1182;
    // The media probe's work buffer.
    static constexpr size_t PROBE_BUFFER_BYTES = 2 * 1024 * 1024;

    CFileInfoDlg(QWidget* pOwner, const FileInfoSource& source);

    CInfoTabPage* GetPage(int nIndex) const;
    QTabBar* GetTabBar() const { return m_pTabBar; }
    QPushButton* GetOkButton() const { return m_pOk; }
    QString GetFileNameText() const;
    uint64_t GetFileSize() const { return m_nFileSize; }
    const MediaProbeResult& GetProbeResult() const { return m_stProbe; }

private:
    void LoadTexts();
    void CreateControls();
    void Fill(const FileInfoSource& source);
    void ShowPage(int nIndex);

    QWidget* m_pOwner;
    QString m_strFilePath;
    QString m_strFileName;
    uint64_t m_nFileSize = 0;
    MediaProbeResult m_stProbe;

    QString m_strTitle, m_strOk, m_strFileNameLabel, m_strBasicInfo, m_strExtraInfo;
    QStringList m_basicLabels, m_extraLabels;

    QLabel* m_pFileNameLabel = nullptr;
    QLineEdit* m_pFileName = nullptr;
    QTabBar* m_pTabBar = nullptr;
    QWidget* m_pTabArea = nullptr;
    std::array<CInfoTabPage*, 2> m_pPages{};
    QPushButton* m_pOk = nullptr;
};
