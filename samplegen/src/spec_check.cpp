#include "spec_check.h"

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

bool CheckSpec(const SampleSpec& spec, std::string* reason) {
    if (spec.width < kMinWidth || spec.width > kMaxWidth || spec.height < kMinHeight ||
        spec.height > kMaxHeight) {
        *reason = "picture size must lie between 48x32 and 7680x4320";
    } else if (spec.width % 2 != 0 || spec.height % 2 != 0) {
        *reason = "picture width and height must be even";
    } else if (spec.fpsNum <= 0 || spec.fpsDen <= 0 ||
               int64_t{spec.fpsNum} < int64_t{spec.fpsDen} ||
               int64_t{spec.fpsNum} > int64_t{kMaxFps} * spec.fpsDen) {
        *reason = "frame rate must lie between 1 and 240 frames per second";
    } else if (spec.frameCount < 1 || spec.frameCount > FrameNumberCode::kMaxNumber + 1) {
        *reason =
            "frame count must lie between 1 and " + std::to_string(FrameNumberCode::kMaxNumber + 1);
    } else if (spec.gop < 1 || spec.gop > kMaxGop) {
        *reason = "key frame interval must lie between 1 and " + std::to_string(kMaxGop);
    } else if (spec.start && !IsValidStartTime(*spec.start, reason)) {
        // reason set
    } else {
        switch (spec.container) {
            case Container::Recorder:
            case Container::RawH264:
            case Container::Mp4:
            case Container::MpegTs:
                return true;
        }
        *reason = "unknown container";
    }
    return false;
}

}  // namespace samplegen
