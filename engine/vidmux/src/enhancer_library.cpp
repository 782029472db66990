#include "enhancer_library.h"

#include <dlfcn.h>

#include <string>

#include "side_support/library_folder.h"

namespace vidmux {

namespace {

template <typename Function>
bool Find(void* module, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(dlsym(module, name));
    return *function != nullptr;
}

const EnhancerLibrary* Load() {
    static EnhancerLibrary library;
    const std::string path =
        sidesupport::LibraryFolder(reinterpret_cast<const void*>(&LoadEnhancerLibrary)) +
        "/liblumora.so";
    // Never closed: ports hold enhancers from it until the process ends.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!module) return nullptr;
    const bool complete = Find(module, "LUMORA_Create", &library.create) &&
                          Find(module, "LUMORA_Destroy", &library.destroy) &&
                          Find(module, "LUMORA_SetParams", &library.setParams) &&
                          Find(module, "LUMORA_Process", &library.process) &&
                          Find(module, "LUMORA_ResetHistory", &library.resetHistory);
    return complete ? &library : nullptr;
}

}  // namespace

const EnhancerLibrary* LoadEnhancerLibrary() {
    // Thread-safe once: every port asks from its own thread.
    static const EnhancerLibrary* const library = Load();
    return library;
}

}  // namespace vidmux
