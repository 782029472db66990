#pragma once

namespace vidmux {

// True unless the environment variable `name` is "0": the switches that turn
// an optimisation off for measurements and tests.
bool EnabledUnlessZero(const char* name);

}  // namespace vidmux
