#include "counted_engine_calls.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#include "playback/engine_api.h"

namespace enginecalls {

namespace {

std::mutex g_mutex;
OpenDelayMs g_fnOpenDelayMs = nullptr;
std::multiset<int32_t> g_opened;
std::multiset<int32_t> g_closed;
std::multiset<int32_t> g_freed;
int g_nOpensAtOnce = 0;
int g_nMostOpensAtOnce = 0;

size_t Count(const std::multiset<int32_t>& ports, int32_t lPort) {
    std::lock_guard lock(g_mutex);
    return ports.count(lPort);
}

}  // namespace

void Install(OpenDelayMs fnOpenDelayMs) {
    Forget();
    {
        std::lock_guard lock(g_mutex);
        g_fnOpenDelayMs = fnOpenDelayMs;
    }
    Engine().OpenFile = [](int32_t nPort, const char* szPath) -> VBOOL {
        OpenDelayMs fnDelay;
        {
            std::lock_guard lock(g_mutex);
            g_opened.insert(nPort);
            g_nMostOpensAtOnce = std::max(g_nMostOpensAtOnce, ++g_nOpensAtOnce);
            fnDelay = g_fnOpenDelayMs;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(fnDelay(szPath)));
        const VBOOL bOpened = Vemor_OpenFile(nPort, szPath);
        std::lock_guard lock(g_mutex);
        --g_nOpensAtOnce;
        return bOpened;
    };
    Engine().CloseFile = [](int32_t nPort) -> VBOOL {
        const VBOOL bDone = Vemor_CloseFile(nPort);
        std::lock_guard lock(g_mutex);
        if (bDone) g_closed.insert(nPort);
        return bDone;
    };
    Engine().FreePort = [](int32_t nPort) -> VBOOL {
        const VBOOL bDone = Vemor_FreePort(nPort);
        std::lock_guard lock(g_mutex);
        if (bDone) g_freed.insert(nPort);
        return bDone;
    };
}

void Forget() {
    std::lock_guard lock(g_mutex);
    g_opened.clear();
    g_closed.clear();
    g_freed.clear();
    g_nOpensAtOnce = 0;
    g_nMostOpensAtOnce = 0;
}

size_t Opened(int32_t lPort) { return Count(g_opened, lPort); }
size_t Closed(int32_t lPort) { return Count(g_closed, lPort); }
size_t Freed(int32_t lPort) { return Count(g_freed, lPort); }

int MostOpensAtOnce() {
    std::lock_guard lock(g_mutex);
    return g_nMostOpensAtOnce;
}

}  // namespace enginecalls
