#include "demo_set.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "command_line.h"

namespace samplegen {

namespace {

namespace fs = std::filesystem;

// Beside the demo files: one line per file, "name size settings".
constexpr const char* kManifestName = ".orlin-samplegen";

// Everything that decides a file's bytes, so changed settings force a rewrite.
std::string Fingerprint(const SampleParams& s) {
    std::ostringstream out;
    out << static_cast<int>(s.container) << ':' << s.width << 'x' << s.height << ':' << s.fpsNum
        << '/' << s.fpsDen << ':' << s.frameCount << ':' << s.gop << ':' << s.bFrames << ':'
        << s.audio;
    if (s.start) out << ":t" << PackTime(*s.start);
    if (s.watermark) out << ":w" << s.watermark->serial << '.' << int{s.watermark->channel};
    return out.str();
}

std::map<std::string, std::string> ReadManifest(const fs::path& dir) {
    std::map<std::string, std::string> entries;
    std::ifstream in(dir / kManifestName);
    std::string name, rest;
    while (in >> name && std::getline(in, rest)) entries[name] = rest;
    return entries;
}

bool IsUpToDate(const fs::path& file, const std::string& recorded, const SampleParams& params) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    return !ec && recorded == " " + std::to_string(size) + " " + Fingerprint(params);
}

SampleParams EventCamera(uint32_t serial, uint8_t channel) {
    SampleParams s;
    s.container = Container::Recorder;
    s.width = 704;
    s.height = 576;
    s.frameCount = 20 * 25;
    s.gop = 50;
    s.audio = true;
    s.start = StartTime{2024, 3, 15, 9, 30, 0};
    s.watermark = DemoWatermark(serial, *s.start, channel);
    return s;
}

}  // namespace

std::vector<DemoFile> DemoFiles() {
    std::vector<DemoFile> files;
    files.push_back({"event-cam1.rec", EventCamera(1001, 1)});
    files.push_back({"event-cam2.rec", EventCamera(1002, 2)});

    SampleParams lobby;
    lobby.container = Container::Mp4;
    lobby.width = 640;
    lobby.height = 360;
    lobby.frameCount = 15 * 25;
    lobby.gop = 25;
    lobby.bFrames = true;
    lobby.audio = true;
    lobby.start = StartTime{2024, 3, 15, 9, 30, 5};
    files.push_back({"lobby.mp4", lobby});

    SampleParams stairs;
    stairs.container = Container::RawH264;
    stairs.frameCount = 10 * 25;
    stairs.watermark = DemoWatermark(1003, StartTime{2024, 3, 15, 9, 31, 0}, 3);
    files.push_back({"stairs.264", stairs});

    SampleParams parking;
    parking.container = Container::MpegTs;
    parking.width = 640;
    parking.height = 480;
    parking.fpsNum = 30000;
    parking.fpsDen = 1001;
    parking.frameCount = 300;
    parking.gop = 30;
    parking.audio = true;
    files.push_back({"parking.ts", parking});
    return files;
}

bool WriteDemoSet(const std::string& dirText, std::vector<std::string>* paths, std::string* error) {
    const fs::path dir(dirText);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) {
        *error = "cannot create folder " + dirText + (ec ? ": " + ec.message() : "");
        return false;
    }
    const auto previous = ReadManifest(dir);
    std::ostringstream manifest;
    for (const DemoFile& demo : DemoFiles()) {
        const fs::path file = dir / demo.name;
        const auto found = previous.find(demo.name);
        if (found == previous.end() || !IsUpToDate(file, found->second, demo.params)) {
            std::string reason;
            if (!WriteSample(file.string(), demo.params, &reason)) {
                *error = file.string() + ": " + reason;
                return false;
            }
        }
        manifest << demo.name << ' ' << fs::file_size(file, ec) << ' ' << Fingerprint(demo.params)
                 << '\n';
        paths->push_back(file.string());
    }
    std::ofstream out(dir / kManifestName, std::ios::trunc);
    out << manifest.str();
    if (!out.flush()) {
        *error = "cannot write " + (dir / kManifestName).string();
        return false;
    }
    return true;
}

}  // namespace samplegen
