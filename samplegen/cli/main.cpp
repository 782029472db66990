// orlin-samplegen: writes deterministic sample recordings for tests, benchmarks and `make run`.

#include <cstdio>
#include <string>
#include <vector>

#include "command_line.h"
#include "common/debug_log.h"
#include "demo_set.h"

extern "C" {
#include <libavutil/log.h>
}

int main(int argc, char** argv) {
    using namespace samplegen;
    av_log_set_level(AV_LOG_WARNING);            // keep the encoders' statistics off the terminal
    SetDebugLogSink([](const std::string&) {});  // failures are reported below, once
    const std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(args, &cl, &error)) {
        std::fprintf(stderr, "orlin-samplegen: %s\n%s", error.c_str(), UsageText());
        return 2;
    }
    switch (cl.action) {
        case CommandLine::Action::ShowHelp:
            std::fputs(UsageText(), stdout);
            return 0;
        case CommandLine::Action::WriteDemo: {
            std::vector<std::string> paths;
            if (!WriteDemoSet(cl.demoDir, &paths, &error)) {
                std::fprintf(stderr, "orlin-samplegen: %s\n", error.c_str());
                return 1;
            }
            for (const std::string& path : paths) std::printf("%s\n", path.c_str());
            return 0;
        }
        case CommandLine::Action::WriteOne:
            if (!WriteSample(cl.output, cl.params, &error)) {
                std::fprintf(stderr, "orlin-samplegen: %s: %s\n", cl.output.c_str(), error.c_str());
                return 1;
            }
            std::printf("%s\n", cl.output.c_str());
            return 0;
    }
    return 1;
}
