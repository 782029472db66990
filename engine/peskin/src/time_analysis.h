#pragma once

#include <cstdint>

#include "peskin.h"

namespace peskin {

// Fills the record for `path` (start, end, picture duration, sizes); returns
// PESKIN_OK or a PESKIN_ERR_* code and then leaves the record unspecified.
int32_t AnalyzeTimes(const char* path, PeskinFileInfo* info);

}  // namespace peskin
