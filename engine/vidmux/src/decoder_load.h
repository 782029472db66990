#pragma once

namespace vidmux {

// Files open on all ports together. A port counts its file from the start
// of its open until it closes it.
class OpenFiles {
public:
    // Counts one more file; returns the count with it.
    static int Add();
    static void Remove();
};

// Threads for one port's video decoder when `openFiles` files are open. One
// file may use every core through frame threads; several share the cores,
// and frame threads would only add a set of pictures each to every decoder.
int DecoderThreadsFor(int openFiles);

// Whether a port may skip the loop filter while its window is smaller than
// half its picture; VIDMUX_REDUCED_DECODE=0 in the environment turns it off.
bool ReducedDecodeAllowed();

}  // namespace vidmux
