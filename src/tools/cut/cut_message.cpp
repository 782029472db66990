#include "tools/cut/cut_message.h"

#include "lang/language_parser.h"

CutMessageText CutMessageKey(CutMessage eMessage) {
    switch (eMessage) {
        case CutMessage::None:
            break;
        case CutMessage::GetKeyFramePosFail:
            return {"IDS_MainWnd_GetKeyFramePosFail", "Get Keyframe position fail!"};
        case CutMessage::StartNotLessThanEnd:
            return {"IDS_FileCutDlg_StartNotLessThanEnd",
                    "Real Start Pos is not be Smaller Than Real End Pos!"};
        case CutMessage::DiskNotEnough:
            return {"IDS_Global_DiskNotEnough", "Disk space not enough!"};
        case CutMessage::CreateThreadFail:
            return {"IDS_FileMergeDlg_CreateThreadFail", "Create thread failed!"};
        case CutMessage::CreateFileFail:
            return {"IDS_FileCutDlg_CreateFileFail", "Fail to Create the File!"};
        case CutMessage::AllocMemFail:
            return {"IDS_FileCutDlg_AllocMemFail", "Fail to Apply Memory!"};
        case CutMessage::ReadFileFail:
            return {"IDS_FileCutDlg_ReadFileFail", "Fail to Read File!"};
        case CutMessage::WriteFileFail:
            return {"IDS_FileCutDlg_WriteFileFail", "Fail to Write File!"};
        case CutMessage::CutSucc:
            return {"IDS_FileCutDlg_CutSucc", "Cut Success!"};
        case CutMessage::CutFail:
            return {"IDS_FileCutDlg_CutFail", "Cut Fail!"};
        case CutMessage::UserCancel:
            return {"IDS_MainWnd_UserCancel", "User cancel!"};
    }
    return {nullptr, ""};
}

void CCutMessageTexts::Load() {
    for (size_t i = 1; i < CUT_MESSAGE_COUNT; ++i) {
        const CutMessageText text = CutMessageKey(static_cast<CutMessage>(i));
        CLanguageParser::FindString(text.szKey, m_texts[i], QString::fromUtf8(text.szDefault));
    }
}
