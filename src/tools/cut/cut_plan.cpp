#include "tools/cut/cut_plan.h"

CutMessage PlanCutRange(uint32_t nTotalSeconds, const CutTimes& times, const CutKeyFrame& start,
                        const CutKeyFrame& end, int64_t nFileSize, CutRange* pRange) {
    // A file without a length has no track to choose from.
    if (nTotalSeconds == 0 || !start.bFound) return CutMessage::GetKeyFramePosFail;
    CutRange range;
    range.nStart = start.nFilePos;
    range.nStartMs = start.nFrameTime;
    if (static_cast<int64_t>(times.nEnd) >= static_cast<int64_t>(nTotalSeconds)) {
        range.nEnd = nFileSize;
        range.nEndMs = -1;
        range.bToFileEnd = true;
    } else if (end.bFound) {
        range.nEnd = end.nFilePos;
        range.nEndMs = end.nFrameTime;
    } else {
        return CutMessage::GetKeyFramePosFail;
    }
    if (range.nStart < 0 || range.nEnd <= range.nStart) return CutMessage::StartNotLessThanEnd;
    *pRange = range;
    return CutMessage::None;
}

bool HasRoomForCut(uint64_t nFree, uint64_t nLength, uint64_t nHead) {
    if (nLength > UINT64_MAX - nHead) return false;
    return nFree > nLength + nHead;
}
