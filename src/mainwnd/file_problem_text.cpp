#include "mainwnd/file_problem_text.h"

#include <QFileInfo>

#include "playback/lang_text.h"

QString FileProblemText(const QString& strPath, const MediaFileCheck& check) {
    QString strReason;
    switch (check.eProblem) {
        case MediaFileProblem::None:
            return QString();
        case MediaFileProblem::Missing:
            strReason = LangText("IDS_MainWnd_FileMissing", "file not found");
            break;
        case MediaFileProblem::Folder:
            strReason = LangText("IDS_MainWnd_FileIsFolder", "a folder, not a file");
            break;
        case MediaFileProblem::Empty:
            strReason = LangText("IDS_MainWnd_FileEmpty", "empty file");
            break;
        case MediaFileProblem::Unreadable:
            strReason = LangText("IDS_MainWnd_FileUnreadable", "cannot be read");
            break;
        case MediaFileProblem::NotVideo:
            strReason = LangText("IDS_MainWnd_FileNotVideo", "not a video file");
            break;
        case MediaFileProblem::Engine:
            strReason = LangText("IDS_MainWnd_FileOpenFail", "cannot be opened (error %d)");
            strReason.replace(QLatin1String("%d"), QString::number(check.nEngineError));
            break;
    }
    // A path that ends in a separator (a folder) still shows its last name.
    QString strName = QFileInfo(strPath).fileName();
    if (strName.isEmpty()) strName = strPath;
    return strName + QStringLiteral(": ") + strReason;
}
