#include "tools/merge/merge_duration_probe.h"

#include "common/debug_log.h"
#include "playback/engine_api.h"

bool CMergeDurationProbe::Probe(const QString& strPath, uint32_t* pnSeconds) {
    int32_t lPort = -1;
    if (!Engine().GetPort(&lPort)) {
        DebugLog("CMergeDurationProbe::Probe Vemor_GetPort Fail");
        return false;
    }
    const QByteArray path = strPath.toUtf8();
    bool bOk = Engine().OpenFile(lPort, path.constData()) != 0;
    if (bOk) {
        *pnSeconds = Engine().GetFileTime(lPort);
        bOk = Engine().CloseFile(lPort) != 0;
    } else {
        DebugLog("CMergeDurationProbe::Probe Vemor_OpenFile Fail dwErrorCode=%u",
                 Engine().GetLastError(lPort));
    }
    // The port goes back even after a failure: a file that does not open must
    // not use up one of the engine's ports for the rest of the run.
    Engine().Stop(lPort);
    if (!Engine().FreePort(lPort)) {
        DebugLog("CMergeDurationProbe::Probe Vemor_FreePort Fail m_lPort=%d", lPort);
    }
    return bOk;
}
