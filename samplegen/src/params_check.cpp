#include "params_check.h"

#include <cstdint>

#include "frame_number_code.h"
#include "start_time.h"

namespace samplegen {

namespace {

constexpr int kMinWidth = 48, kMinHeight = 32;  // the frame-number band stays readable
constexpr int kMaxWidth = 7680, kMaxHeight = 4320;
constexpr int kMaxFps = 240;
constexpr int kMaxGop = 10000;

}  // namespace

bool CheckParams(const SampleParams& params, std::string* reason) {
    if (params.width < kMinWidth || params.width > kMaxWidth || params.height < kMinHeight ||
        params.height > kMaxHeight) {
        *reason = "picture size must lie between 48x32 and 7680x4320";
    } else if (params.width % 2 != 0 || params.height % 2 != 0) {
        *reason = "picture width and height must be even";
    } else if (params.fpsNum <= 0 || params.fpsDen <= 0 ||
               int64_t{params.fpsNum} < int64_t{params.fpsDen} ||
               int64_t{params.fpsNum} > int64_t{kMaxFps} * params.fpsDen) {
        *reason = "frame rate must lie between 1 and 240 frames per second";
    } else if (params.frameCount < 1 || params.frameCount > FrameNumberCode::kMaxNumber + 1) {
        *reason =
            "frame count must lie between 1 and " + std::to_string(FrameNumberCode::kMaxNumber + 1);
    } else if (params.gop < 1 || params.gop > kMaxGop) {
        *reason = "key frame interval must lie between 1 and " + std::to_string(kMaxGop);
    } else if (params.start && !IsValidStartTime(*params.start, reason)) {
        // reason set
    } else {
        switch (params.container) {
            case Container::Recorder:
            case Container::RawH264:
            case Container::Mp4:
            case Container::MpegTs:
            case Container::Matroska:
                return true;
        }
        *reason = "unknown container";
    }
    return false;
}

}  // namespace samplegen
