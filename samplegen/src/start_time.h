#pragma once

#include <string>

#include "samplegen/samplegen.h"

namespace samplegen {

// False with a reason when the time is not a real calendar time that the
// packed form can hold (years 2000..2063).
bool IsValidStartTime(const StartTime& time, std::string* reason);

// ISO 8601 UTC as MP4 creation_time tags carry it: "2024-01-01T10:00:00.000000Z".
std::string CreationTimeText(const StartTime& time);

}  // namespace samplegen
