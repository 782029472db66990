#pragma once

#include <cstdint>

namespace kelsa {

// Places the packets of the files being joined on one clock that runs on from
// file to file. Times are in the output streams' own units (video and sound
// separately, converted through their ratio) and relative to the first picture
// of the file they come from.
class RunningClock {
public:
    // `audioPerVideo`: sound units per video unit, as num/den.
    RunningClock(int64_t audioPerVideoNum, int64_t audioPerVideoDen);

    // The next file starts where the pictures written so far end.
    void BeginFile();

    // A picture: `dts`/`pts` relative to the file's first picture, `duration` > 0.
    // Fills the output times; false when the packet must be dropped because it
    // would not follow the previous one (damaged input).
    bool PlaceVideo(int64_t dts, int64_t pts, int64_t duration, int64_t* outDts, int64_t* outPts);

    // A sound packet, relative to the same first picture. False when it would
    // overlap sound already written (the end of the previous file's sound).
    bool PlaceAudio(int64_t dts, int64_t pts, int64_t* outDts, int64_t* outPts);

    int64_t PicturesEnd() const { return m_nPicturesEnd; }

private:
    int64_t ToAudio(int64_t video) const;

    int64_t m_nAudioNum;
    int64_t m_nAudioDen;
    int64_t m_nFileOffset = 0;   // video units: where the current file's first picture goes
    int64_t m_nPicturesEnd = 0;  // video units: end of the last picture written
    int64_t m_nLastVideoDts = INT64_MIN;
    int64_t m_nLastAudioDts = INT64_MIN;
    bool m_bFirstPictureOfFile = true;
};

}  // namespace kelsa
