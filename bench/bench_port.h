#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace bench {

// Files that reached their end and frame indexes built, over all ports.
extern std::atomic<int> g_ended;
extern std::atomic<int> g_indexed;

// Takes a port that counts into g_ended and g_indexed and opens `path` on
// it; -1 (having said why) when that fails.
int32_t OpenPort(const std::string& path);

}  // namespace bench
