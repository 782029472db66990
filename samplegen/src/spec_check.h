#pragma once

#include <string>

#include "samplegen/samplegen.h"

namespace samplegen {

// False with a reason for a spec the writer cannot honour exactly.
bool CheckSpec(const SampleSpec& spec, std::string* reason);

}  // namespace samplegen
