#pragma once

// Deterministic sample recordings for tests, benchmarks and `make run`.
// Every picture carries its own frame number twice: as a row of black and
// white blocks that ReadFrameNumber() decodes from any RGB32 rendering of the
// whole picture (scaled or JPEG-compressed), and as digits a person can read.

#include <cstdint>
#include <optional>
#include <string>

namespace samplegen {

enum class Container {
    Recorder,  // 40-byte "IMXV" head followed by an MPEG program stream
    RawH264,   // Annex B elementary stream (.264)
    Mp4,       // H.264 + AAC, creation_time tag carries the start time
    MpegTs,    // H.264 + MP2 in an MPEG transport stream
    Matroska,  // H.264 + AAC in SimpleBlocks, creation_time tag carries the start time
};

struct StartTime {
    int year = 2024, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// The 17-byte watermark record, carried in an H.264 "user data unregistered"
// SEI message (UUID kWatermarkUuid) in front of every key frame.
struct Watermark {
    uint32_t packedTime = 0;  // see PackTime()
    uint32_t serial = 0;
    uint8_t mac[6] = {};
    uint8_t deviceType = 0;
    uint8_t deviceInfo = 0;
    uint8_t channel = 0;
};
inline constexpr size_t kWatermarkBytes = 17;
extern const uint8_t kWatermarkUuid[16];

struct SampleParams {
    Container container = Container::Recorder;
    int width = 352;
    int height = 288;
    int fpsNum = 25;
    int fpsDen = 1;
    int frameCount = 50;
    int gop = 25;                    // key frame every `gop` frames, closed groups
    bool bFrames = false;            // two B-frames between references when true
    bool audio = false;              // MP2 (recorder, TS), AAC (MP4, MKV); never in raw H.264
    std::optional<StartTime> start;  // absolute start: head (recorder) or creation_time (MP4, MKV)
    std::optional<Watermark> watermark;
};

// Writes the recording; on failure returns false with a reason in *error
// (when error is not null) and leaves no partial file behind.
bool WriteSample(const std::string& path, const SampleParams& params, std::string* error = nullptr);

// Bits 26-31 year - 2000, 22-25 month, 17-21 day, 12-16 hour, 6-11 minute, 0-5 second.
uint32_t PackTime(const StartTime& time);

// Frame number drawn into a picture by WriteSample, read back from 32-bit
// pixels (QImage::Format_RGB32 / AV_PIX_FMT_BGRA byte order) showing the
// whole picture at any size down to 64x48. Returns -1 when no number is found.
int ReadFrameNumber(const uint8_t* pixels, int width, int height, int strideBytes);

// Same, from an encoded BMP or JPEG image in memory (as returned by the
// engine's snapshot calls). Returns -1 when the image does not decode.
int ReadFrameNumberFromImage(const uint8_t* data, size_t size);

// Size of an encoded BMP or JPEG image in memory; false when it does not decode.
bool ImageSize(const uint8_t* data, size_t size, int* width, int* height);

}  // namespace samplegen
