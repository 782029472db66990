#include "playback/port_ends.h"

#include "common/debug_log.h"
#include "playback/engine_api.h"

namespace {

bool MovePortToFrame(int32_t lPort, uint32_t nFrame, const char* szCaller) {
    if (Engine().SetCurrentFrameNum(lPort, nFrame)) return true;
    DebugLog("%s Vemor_SetCurrentFrameNum Fail m_lPort=%d, dwErrorCode=%d", szCaller, lPort,
             Engine().GetLastError(lPort));
    return false;
}

}  // namespace

bool MovePortToStart(int32_t lPort, const char* szCaller) {
    return MovePortToFrame(lPort, 0, szCaller);
}

bool MovePortToEnd(int32_t lPort, const char* szCaller) {
    const uint32_t nTotal = Engine().GetFileTotalFrames(lPort);
    // An empty index has no last frame; frame 0 then fails in the engine like any bad frame.
    return MovePortToFrame(lPort, nTotal > 0 ? nTotal - 1 : 0, szCaller);
}
