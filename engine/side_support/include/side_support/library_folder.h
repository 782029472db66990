#pragma once

#include <dlfcn.h>

#include <string>

namespace sidesupport {

// The folder of the shared library (or program) that holds `address`, so a
// library can load its neighbours from where it was installed; "." when the
// loader cannot tell.
inline std::string LibraryFolder(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return ".";
    const std::string path = info.dli_fname;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace sidesupport
