#pragma once

#include "umbrel.h"

namespace trovan {

// The decoding library's functions, found in libumbrel.so beside this library.
struct UmbrelApi {
    decltype(&UMBREL_Open) open = nullptr;
    decltype(&UMBREL_GetInfo) getInfo = nullptr;
    decltype(&UMBREL_CollectSound) collectSound = nullptr;
    decltype(&UMBREL_DecodePicture) decodePicture = nullptr;
    decltype(&UMBREL_ReadSound) readSound = nullptr;
    decltype(&UMBREL_Close) close = nullptr;
};

// Loads the library the first time it is asked for (and again after a failed
// try); null while it cannot be loaded.
const UmbrelApi* LoadUmbrel();

}  // namespace trovan
