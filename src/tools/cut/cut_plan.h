#pragma once

#include <cstdint>

#include "tools/cut/cut_message.h"
#include "tools/cut/cut_track.h"

// Result of one key-frame look-up of the engine.
struct CutKeyFrame {
    bool bFound = false;
    int64_t nFilePos = 0;    // byte offset where the key frame's data begins
    int32_t nFrameTime = 0;  // milliseconds from the first picture
};

// What the cut copies: bytes [nStart, nEnd) of the source, which are the
// pictures from the start key frame up to (not including) the end key frame.
struct CutRange {
    int64_t nStart = 0;
    int64_t nEnd = 0;
    int32_t nStartMs = 0;
    int32_t nEndMs = 0;
    bool bToFileEnd = false;  // the range runs to the end of the file; no end key frame
    int64_t Length() const { return nEnd - nStart; }
};

// The byte range for the chosen times from the key frame at or before the
// start and the key frame at or after the end. An end at the file's end
// (end >= total) takes everything to the end of the file, which no key frame
// marks. Returns CutMessage::None with *pRange filled, or the refusal.
CutMessage PlanCutRange(uint32_t nTotalSeconds, const CutTimes& times, const CutKeyFrame& start,
                        const CutKeyFrame& end, int64_t nFileSize, CutRange* pRange);

// Whether a volume with nFree bytes free takes a clip of nLength bytes plus
// a head of nHead bytes: strictly more room than that is needed.
bool HasRoomForCut(uint64_t nFree, uint64_t nLength, uint64_t nHead);
