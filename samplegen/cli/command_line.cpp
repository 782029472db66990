#include "command_line.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>

namespace samplegen {

namespace {

bool ParseInt(const std::string& text, long long low, long long high, long long* value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, *value);
    return ec == std::errc() && ptr == end && *value >= low && *value <= high;
}

bool ParseContainer(const std::string& text, Container* container) {
    if (text == "recorder") {
        *container = Container::Recorder;
    } else if (text == "264") {
        *container = Container::RawH264;
    } else if (text == "mp4") {
        *container = Container::Mp4;
    } else if (text == "ts") {
        *container = Container::MpegTs;
    } else if (text == "mkv") {
        *container = Container::Matroska;
    } else {
        return false;
    }
    return true;
}

// "WxH"
bool ParseSize(const std::string& text, int* width, int* height) {
    const size_t x = text.find('x');
    long long w = 0, h = 0;
    if (x == std::string::npos || !ParseInt(text.substr(0, x), 1, 100000, &w) ||
        !ParseInt(text.substr(x + 1), 1, 100000, &h)) {
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

// "N" or "N/D"
bool ParseFps(const std::string& text, int* num, int* den) {
    const size_t slash = text.find('/');
    long long n = 0, d = 1;
    const int kMax = std::numeric_limits<int>::max();
    if (!ParseInt(text.substr(0, slash), 1, kMax, &n)) return false;
    if (slash != std::string::npos && !ParseInt(text.substr(slash + 1), 1, kMax, &d)) return false;
    *num = static_cast<int>(n);
    *den = static_cast<int>(d);
    return true;
}

// "YYYY-MM-DD hh:mm:ss"; the calendar check happens when the sample is written.
bool ParseStart(const std::string& text, StartTime* time) {
    char tail = 0;
    StartTime t;
    if (text.size() != 19 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour,
                    &t.minute, &t.second, &tail) != 6) {
        return false;
    }
    *time = t;
    return true;
}

}  // namespace

const char* UsageText() {
    return "usage: orlin-samplegen [options] OUTPUT\n"
           "       orlin-samplegen --demo DIR\n"
           "Writes a deterministic sample recording whose pictures show their frame numbers.\n"
           "  --format recorder|264|mp4|ts|mkv  container (default recorder)\n"
           "  --size WxH          picture size, even numbers (default 352x288)\n"
           "  --fps N[/D]         frame rate (default 25)\n"
           "  --frames N          number of pictures (default 50)\n"
           "  --gop N             key frame every N pictures (default 25)\n"
           "  --bframes           two B-frames between reference pictures\n"
           "  --audio             add a quiet tone (not in 264)\n"
           "  --start \"YYYY-MM-DD hh:mm:ss\"  absolute start time (recorder, mp4, mkv)\n"
           "  --watermark SERIAL  watermark every key frame with this device serial\n"
           "  --demo DIR          write the demo recordings into DIR and print their paths\n"
           "  --help              show this text\n";
}

Watermark DemoWatermark(uint32_t serial, const StartTime& time, uint8_t channel) {
    Watermark w;
    w.packedTime = PackTime(time);
    w.serial = serial;
    const uint8_t mac[6] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
    std::copy(mac, mac + 6, w.mac);
    w.deviceType = 1;
    w.deviceInfo = 2;
    w.channel = channel;
    return w;
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* result,
                      std::string* error) {
    CommandLine cl;
    std::optional<uint32_t> watermarkSerial;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--format" || arg == "--size" || arg == "--fps" ||
                                arg == "--frames" || arg == "--gop" || arg == "--start" ||
                                arg == "--watermark" || arg == "--demo";
        if (takesValue && i + 1 >= args.size()) {
            *error = arg + " needs a value";
            return false;
        }
        const std::string value = takesValue ? args[++i] : std::string();
        long long number = 0;
        if (arg == "--help" || arg == "-h") {
            cl.action = CommandLine::Action::ShowHelp;
        } else if (arg == "--format") {
            if (!ParseContainer(value, &cl.params.container)) {
                *error = "unknown format \"" + value + "\" (use recorder, 264, mp4, ts or mkv)";
                return false;
            }
        } else if (arg == "--size") {
            if (!ParseSize(value, &cl.params.width, &cl.params.height)) {
                *error = "bad size \"" + value + "\" (use WxH, e.g. 704x576)";
                return false;
            }
        } else if (arg == "--fps") {
            if (!ParseFps(value, &cl.params.fpsNum, &cl.params.fpsDen)) {
                *error = "bad frame rate \"" + value + "\" (use N or N/D, e.g. 30000/1001)";
                return false;
            }
        } else if (arg == "--frames" || arg == "--gop") {
            if (!ParseInt(value, 1, std::numeric_limits<int>::max(), &number)) {
                *error = "bad " + arg.substr(2) + " \"" + value + "\" (use a positive number)";
                return false;
            }
            (arg == "--frames" ? cl.params.frameCount : cl.params.gop) = static_cast<int>(number);
        } else if (arg == "--bframes") {
            cl.params.bFrames = true;
        } else if (arg == "--audio") {
            cl.params.audio = true;
        } else if (arg == "--start") {
            StartTime start;
            if (!ParseStart(value, &start)) {
                *error = "bad start time \"" + value + "\" (use \"YYYY-MM-DD hh:mm:ss\")";
                return false;
            }
            cl.params.start = start;
        } else if (arg == "--watermark") {
            if (!ParseInt(value, 0, std::numeric_limits<uint32_t>::max(), &number)) {
                *error = "bad watermark serial \"" + value + "\" (use 0..4294967295)";
                return false;
            }
            watermarkSerial = static_cast<uint32_t>(number);
        } else if (arg == "--demo") {
            cl.action = CommandLine::Action::WriteDemo;
            cl.demoDir = value;
        } else if (arg.size() > 1 && arg[0] == '-') {
            *error = "unknown option " + arg;
            return false;
        } else if (!cl.output.empty()) {
            *error = "more than one output file given";
            return false;
        } else {
            cl.output = arg;
        }
    }
    if (watermarkSerial) {
        // Without a start time the watermark still needs a non-zero time,
        // which is what marks a record as present.
        cl.params.watermark =
            DemoWatermark(*watermarkSerial, cl.params.start.value_or(StartTime{}), 1);
    }
    if (cl.action == CommandLine::Action::WriteOne) {
        if (cl.output.empty()) {
            *error = "no output file given";
            return false;
        }
        if (cl.params.audio && cl.params.container == Container::RawH264) {
            *error = "--audio cannot go into a raw 264 stream";
            return false;
        }
    }
    if (cl.action == CommandLine::Action::WriteDemo && cl.demoDir.empty()) {
        *error = "--demo needs a folder";
        return false;
    }
    *result = cl;
    return true;
}

}  // namespace samplegen
