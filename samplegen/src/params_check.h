#pragma once

#include <string>

#include "samplegen/samplegen.h"

namespace samplegen {

// False with a reason for a params the writer cannot honour exactly.
bool CheckParams(const SampleParams& params, std::string* reason);

}  // namespace samplegen
