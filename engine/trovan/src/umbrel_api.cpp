#include "umbrel_api.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

#include "side_support/library_folder.h"

namespace trovan {

namespace {

template <typename Function>
bool Find(void* module, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(dlsym(module, name));
    return *function != nullptr;
}

}  // namespace

const UmbrelApi* LoadUmbrel() {
    static std::mutex mutex;
    static UmbrelApi api;
    static bool loaded = false;
    std::lock_guard lock(mutex);
    if (loaded) return &api;
    // Never closed: conversions may use it for the rest of the run.
    void* module = dlopen(
        (sidesupport::LibraryFolder(reinterpret_cast<const void*>(&LoadUmbrel)) + "/libumbrel.so")
            .c_str(),
        RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) return nullptr;
    loaded = Find(module, "UMBREL_Open", &api.open) &&
             Find(module, "UMBREL_GetInfo", &api.getInfo) &&
             Find(module, "UMBREL_CollectSound", &api.collectSound) &&
             Find(module, "UMBREL_DecodePicture", &api.decodePicture) &&
             Find(module, "UMBREL_ReadSound", &api.readSound) &&
             Find(module, "UMBREL_Close", &api.close);
    return loaded ? &api : nullptr;
}

}  // namespace trovan
