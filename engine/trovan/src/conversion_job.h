#pragma once

#include <atomic>
#include <string>

#include "conversion_settings.h"
#include "trovan.h"

namespace trovan {

// What a running conversion shares with the handle's callers.
struct JobProgress {
    std::atomic<bool> stop{false};
    std::atomic<int> percent{0};  // 0..99 while running, 100 once the AVI is in place
};

// Converts `source` into the AVI file `target` on the calling thread, checking
// progress.stop between pictures. Returns TROVAN_OK once the complete file is
// in place; on failure or stop nothing of it is left.
int RunConversion(const std::string& source, const std::string& target,
                  const ConversionSettings& settings, JobProgress& progress);

}  // namespace trovan
