// The engine opening a mutated recording in process and playing it headless:
// open, play at 16x into a small render window until the end or a second has
// passed, seek to the middle, step back, take a snapshot, stop and close. One
// port serves every input, as a pane's port serves every file it opens.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "fuzz_input_file.h"
#include "vidmux.h"

namespace {

constexpr auto kMaxPlay = std::chrono::seconds(1);
constexpr int kFastSteps = 4;  // 2^4 = 16 times normal speed

std::mutex g_mutex;
std::condition_variable g_changed;
bool g_bEnded = false;
bool g_bIndexed = false;

void OnFileEnd(int32_t, void*) {
    std::lock_guard lock(g_mutex);
    g_bEnded = true;
    g_changed.notify_all();
}

void OnIndexed(int32_t, void*) {
    std::lock_guard lock(g_mutex);
    g_bIndexed = true;
    g_changed.notify_all();
}

int32_t GetSize(void*, int32_t* pWidth, int32_t* pHeight) {
    *pWidth = 64;
    *pHeight = 48;
    return 1;
}

void Present(void*, const uint8_t* pPixels, int32_t nWidth, int32_t nHeight, int32_t nStride) {
    // Touch the first and the last byte the engine claims to hand over.
    volatile uint8_t sink = pPixels[0];
    sink = pPixels[static_cast<size_t>(nHeight - 1) * nStride + nWidth * 4 - 1];
    (void)sink;
}

int32_t Port() {
    static const int32_t nPort = [] {
        int32_t nTaken = -1;
        if (!Vemor_GetPort(&nTaken)) std::abort();
        return nTaken;
    }();
    return nPort;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static FuzzInputFile input;
    static VemorRenderWindow window{nullptr, GetSize, Present, nullptr};
    static std::vector<uint8_t> snapshot(64 * 48 * 4 + 1024);
    const int32_t nPort = Port();
    {
        std::lock_guard lock(g_mutex);
        g_bEnded = false;
        g_bIndexed = false;
    }
    // Set before the open too, so that an index built at once is not missed.
    Vemor_SetFileRefCallBack(nPort, OnIndexed, nullptr);
    if (!Vemor_OpenFile(nPort, input.Write(pData, nSize).c_str())) return 0;
    Vemor_SetFileEndCallback(nPort, OnFileEnd, nullptr);
    Vemor_SetFileRefCallBack(nPort, OnIndexed, nullptr);
    if (Vemor_Play(nPort, &window)) {
        for (int i = 0; i < kFastSteps; ++i) Vemor_Fast(nPort);
        std::unique_lock lock(g_mutex);
        g_changed.wait_for(lock, kMaxPlay, [] { return g_bEnded; });
    }
    {
        // The index is built on a thread of its own, which a close stops; let it
        // finish, so that what it holds is not taken for a leak of this input.
        std::unique_lock lock(g_mutex);
        g_changed.wait_for(lock, kMaxPlay, [] { return g_bIndexed; });
    }
    const uint32_t nFrames = Vemor_GetFileTotalFrames(nPort);
    Vemor_Pause(nPort, 1);
    Vemor_SetCurrentFrameNum(nPort, nFrames / 2);
    Vemor_OneByOneBack(nPort);
    int32_t nWidth = 0, nHeight = 0;
    Vemor_GetPictureSize(nPort, &nWidth, &nHeight);
    uint32_t nImageSize = 0;
    if (Vemor_GetBMP(nPort, snapshot.data(), static_cast<uint32_t>(snapshot.size()), &nImageSize) &&
        nImageSize > snapshot.size()) {
        __builtin_trap();  // wrote past the buffer it was given
    }
    Vemor_Stop(nPort);
    Vemor_CloseFile(nPort);
    return 0;
}
