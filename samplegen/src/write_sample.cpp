#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "common/debug_log.h"
#include "sample_writer.h"
#include "samplegen/samplegen.h"
#include "params_check.h"

namespace samplegen {

namespace {

bool Fail(const std::string& path, const std::string& reason, std::string* error) {
    DebugLog("samplegen: cannot write %s: %s", path.c_str(), reason.c_str());
    if (error) *error = reason;
    return false;
}

}  // namespace

bool WriteSample(const std::string& path, const SampleParams& params, std::string* error) {
    std::string reason;
    if (path.empty()) return Fail(path, "no output path", error);
    if (!CheckParams(params, &reason)) return Fail(path, reason, error);

    // Written beside the target and renamed into place, so a reader never
    // sees half a file and a failure never replaces a good one.
    static std::atomic<int> s_serial{0};
    const std::string temporary =
        path + ".part" + std::to_string(::getpid()) + "-" + std::to_string(s_serial++);
    bool written = false;
    {
        SampleWriter writer(params);
        written = writer.Write(temporary, &reason);
    }
    std::error_code ec;
    if (written) {
        std::filesystem::rename(temporary, path, ec);
        if (!ec) return true;
        reason = "cannot move the finished file into place: " + ec.message();
    }
    std::filesystem::remove(temporary, ec);
    return Fail(path, reason, error);
}

}  // namespace samplegen
