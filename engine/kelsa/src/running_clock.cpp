#include "running_clock.h"

#include <algorithm>

namespace kelsa {

RunningClock::RunningClock(int64_t audioPerVideoNum, int64_t audioPerVideoDen)
    : m_nAudioNum(audioPerVideoNum), m_nAudioDen(audioPerVideoDen > 0 ? audioPerVideoDen : 1) {}

void RunningClock::BeginFile() {
    m_nFileOffset = m_nPicturesEnd;
    m_bFirstPictureOfFile = true;
}

int64_t RunningClock::ToAudio(int64_t video) const {
    // Rounded to the nearest unit; offsets stay far below the overflow range.
    const __int128 scaled = static_cast<__int128>(video) * m_nAudioNum;
    const __int128 half = m_nAudioDen / 2;
    return static_cast<int64_t>(scaled >= 0 ? (scaled + half) / m_nAudioDen
                                            : -((-scaled + half) / m_nAudioDen));
}

bool RunningClock::PlaceVideo(int64_t dts, int64_t pts, int64_t duration, int64_t* outDts,
                              int64_t* outPts) {
    if (m_bFirstPictureOfFile) {
        m_bFirstPictureOfFile = false;
        // Decoding order may start before the first picture is shown (B-frames);
        // shift the whole file rather than let its first packet go back in time.
        if (m_nLastVideoDts != INT64_MIN && m_nFileOffset + dts <= m_nLastVideoDts) {
            m_nFileOffset = m_nLastVideoDts + 1 - dts;
        }
    }
    const int64_t nDts = m_nFileOffset + dts;
    if (m_nLastVideoDts != INT64_MIN && nDts <= m_nLastVideoDts) return false;
    m_nLastVideoDts = nDts;
    *outDts = nDts;
    *outPts = std::max(nDts, m_nFileOffset + pts);
    m_nPicturesEnd = std::max(m_nPicturesEnd, *outPts + std::max<int64_t>(duration, 1));
    return true;
}

bool RunningClock::PlaceAudio(int64_t dts, int64_t pts, int64_t* outDts, int64_t* outPts) {
    const int64_t nOffset = ToAudio(m_nFileOffset);
    const int64_t nDts = nOffset + dts;
    if (m_nLastAudioDts != INT64_MIN && nDts <= m_nLastAudioDts) return false;
    m_nLastAudioDts = nDts;
    *outDts = nDts;
    *outPts = std::max(nDts, nOffset + pts);
    return true;
}

}  // namespace kelsa
