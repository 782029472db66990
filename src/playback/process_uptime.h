#pragma once

#include <cstdint>

// Milliseconds since this process was started by the system (not since main),
// -1 when the system does not tell. Resolution is the kernel's clock tick.
int64_t ProcessUptimeMs();
