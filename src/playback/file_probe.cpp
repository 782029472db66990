#include "playback/file_probe.h"

#include <QFileInfo>

#include "playback/engine_api.h"

namespace {
// What the file system alone can tell; None when the path is a readable, non-empty file.
MediaFileProblem FileSystemProblem(const QString& strPath) {
    if (strPath.isEmpty()) return MediaFileProblem::Missing;
    const QFileInfo info(strPath);
    if (!info.exists()) return MediaFileProblem::Missing;
    if (info.isDir()) return MediaFileProblem::Folder;
    if (!info.isReadable()) return MediaFileProblem::Unreadable;
    if (info.size() == 0) return MediaFileProblem::Empty;
    return MediaFileProblem::None;
}

MediaFileCheck FromEngineError(int32_t nEngineError) {
    MediaFileCheck check;
    check.nEngineError = nEngineError;
    switch (nEngineError) {
        case VIDMUX_ERR_OPEN_FILE:
            check.eProblem = MediaFileProblem::Unreadable;
            break;
        case VIDMUX_ERR_FILE_FORMAT:
        case VIDMUX_ERR_DECODE:
            check.eProblem = MediaFileProblem::NotVideo;
            break;
        default:
            check.eProblem = MediaFileProblem::Engine;
            break;
    }
    return check;
}
}  // namespace

MediaFileCheck DescribeOpenFailure(const QString& strPath, int32_t nEngineError) {
    const MediaFileProblem eProblem = FileSystemProblem(strPath);
    if (eProblem != MediaFileProblem::None) return {eProblem, nEngineError};
    return FromEngineError(nEngineError);
}

MediaFileCheck CheckMediaFile(const QString& strPath) {
    const MediaFileProblem eProblem = FileSystemProblem(strPath);
    if (eProblem != MediaFileProblem::None) return {eProblem, 0};
    int32_t nPort = -1;
    if (!Engine().GetPort(&nPort)) return FromEngineError(VIDMUX_ERR_NO_FREE_PORT);
    const QByteArray utf8 = strPath.toUtf8();
    MediaFileCheck check;
    if (Engine().OpenFile(nPort, utf8.constData())) {
        Engine().CloseFile(nPort);
    } else {
        check = FromEngineError(Engine().GetLastError(nPort));
    }
    Engine().FreePort(nPort);
    return check;
}

bool ProbeMediaFile(const QString& strPath) { return CheckMediaFile(strPath).IsPlayable(); }
