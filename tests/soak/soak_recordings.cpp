#include "soak_recordings.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "samplegen/samplegen.h"

std::vector<std::string> WriteSoakRecordings(const std::filesystem::path& folder) {
    const std::pair<samplegen::Container, const char*> kinds[] = {
        {samplegen::Container::Mp4, "soak.mp4"},
        {samplegen::Container::Recorder, "soak.imx"},
        {samplegen::Container::MpegTs, "soak.ts"},
        {samplegen::Container::RawH264, "soak.264"},
    };
    std::vector<std::string> paths;
    for (const auto& [container, szName] : kinds) {
        samplegen::SampleParams params;
        params.container = container;
        params.width = 160;
        params.height = 120;
        params.frameCount = 100;
        params.audio = container != samplegen::Container::RawH264;
        const std::string path = (folder / szName).string();
        std::string error;
        if (!samplegen::WriteSample(path, params, &error)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
            std::exit(2);
        }
        paths.push_back(path);
    }
    return paths;
}
