#include "env_switch.h"

#include <cstdlib>
#include <cstring>

namespace vidmux {

bool EnabledUnlessZero(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr || std::strcmp(value, "0") != 0;
}

}  // namespace vidmux
