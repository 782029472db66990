#include "bench_port.h"

#include <cstdio>

#include "vidmux.h"

namespace bench {

std::atomic<int> g_ended{0};
std::atomic<int> g_indexed{0};

int32_t OpenPort(const std::string& path) {
    int32_t port = -1;
    if (!Vemor_GetPort(&port)) return -1;
    Vemor_SetFileEndCallback(
        port, [](int32_t, void*) { ++g_ended; }, nullptr);
    Vemor_SetFileRefCallBack(
        port, [](int32_t, void*) { ++g_indexed; }, nullptr);
    if (!Vemor_OpenFile(port, path.c_str())) {
        std::fprintf(stderr, "cannot open %s: engine error %u\n", path.c_str(),
                     Vemor_GetLastError(port));
        Vemor_FreePort(port);
        return -1;
    }
    return port;
}

}  // namespace bench
