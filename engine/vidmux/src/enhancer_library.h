#pragma once

#include "lumora.h"

namespace vidmux {

// The entry points of the enhancement library, which lives beside the engine
// and is optional: without it the engine plays, but cannot enhance.
struct EnhancerLibrary {
    int32_t (*create)(int32_t* handle) = nullptr;
    int32_t (*destroy)(int32_t handle) = nullptr;
    int32_t (*setParams)(int32_t handle, const LumoraParams* params) = nullptr;
    int32_t (*process)(int32_t handle, LumoraImage* image) = nullptr;
    int32_t (*resetHistory)(int32_t handle) = nullptr;
};

// Loads the library from the engine's own folder on the first call; null when
// it is missing or lacks an entry point. The answer never changes afterwards.
const EnhancerLibrary* LoadEnhancerLibrary();

}  // namespace vidmux
