#include "mainwnd/progress_math.h"

#include <algorithm>

namespace {
constexpr uint32_t kNoFrame = UINT32_MAX;
}  // namespace

ProgressView ComputeProgress(const ProgressReading& r) {
    ProgressView view;
    if (r.nTotalFrames == 0) return view;
    view.nTotalFrames = r.nTotalFrames;
    view.nFileTime = r.nFileTime;
    view.nPlayedTime = r.nPlayedTime;
    view.nFrame = r.nCurrentFrame;
    if (view.nFrame == kNoFrame) {
        view.nFrame = 0;
        view.nPlayedTime = 0;
    }
    // A played time past the end comes from a bad time stamp; the label shows
    // it, the slider does not move for it.
    const uint64_t nPlayedForPos = view.nPlayedTime > r.nFileTime ? 0 : view.nPlayedTime;
    uint64_t nPos = 0;
    if (r.nFileTime != 0) {
        nPos = nPlayedForPos * PROGRESS_RANGE / r.nFileTime;
    } else if (r.nTotalFrames != 1) {
        nPos = uint64_t(view.nFrame) * PROGRESS_RANGE / (r.nTotalFrames - 1);
    }
    view.nPos = static_cast<int>(std::min<uint64_t>(nPos, PROGRESS_RANGE));
    return view;
}

QString ProgressLabelText(const ProgressView& v) {
    return QString::asprintf("%u/%u  %02u:%02u:%02u/%02u:%02u:%02u", v.nFrame, v.nTotalFrames,
                             v.nPlayedTime / 3600, v.nPlayedTime % 3600 / 60, v.nPlayedTime % 60,
                             v.nFileTime / 3600, v.nFileTime % 3600 / 60, v.nFileTime % 60);
}

uint32_t FrameForSliderPos(int nPos, uint32_t nTotalFrames) {
    const uint64_t nClamped = static_cast<uint64_t>(std::clamp(nPos, 0, PROGRESS_RANGE));
    return static_cast<uint32_t>(nClamped * nTotalFrames / PROGRESS_RANGE);
}

int VolumeUp(int nVolume) {
    const int nNew = nVolume + nVolume / 10;
    return nNew > VOLUME_MAX - 1 ? VOLUME_MAX : nNew;
}

int VolumeDown(int nVolume) { return nVolume - nVolume / 10; }

QString VolumeTipText(int nVolume) {
    return QString::number(static_cast<int64_t>(nVolume) * 100 / VOLUME_MAX);
}
