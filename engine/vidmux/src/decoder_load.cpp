#include "decoder_load.h"

#include <atomic>

#include "env_switch.h"

namespace vidmux {

namespace {
std::atomic<int> g_openFiles{0};
}  // namespace

int OpenFiles::Add() { return ++g_openFiles; }

void OpenFiles::Remove() { --g_openFiles; }

int DecoderThreadsFor(int openFiles) {
    if (openFiles <= 1) return 0;  // as many as the decoder finds cores
    if (openFiles <= 3) return 2;
    return 1;
}

bool ReducedDecodeAllowed() {
    static const bool allowed = EnabledUnlessZero("VIDMUX_REDUCED_DECODE");
    return allowed;
}

}  // namespace vidmux
