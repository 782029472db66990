#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "tools/cut/cut_message.h"

// Progress in percent, 0..100, reported from the copying thread.
using CutProgress = std::function<void(int nPercent)>;

// Bytes moved per step. Large enough to run at disk speed, small enough that
// a cancel is seen within a few milliseconds even on a slow disk.
inline constexpr size_t CUT_BLOCK_BYTES = 1 << 20;

struct ByteCopyRequest {
    int nSourceFd = -1;        // read with pread only; the caller keeps it open
    uint32_t nHeadLength = 0;  // bytes of the recorder head at the file's start
    int64_t nStart = 0;        // first byte of the range
    int64_t nLength = 0;       // bytes of the range
    size_t nBlockBytes = CUT_BLOCK_BYTES;
};

// Writes the recorder head (only when the source starts with one) and then
// the byte range to nOutputFd at its current position, checking `cancel`
// before every block. A source that ends inside the range is a failure. Returns
// CutMessage::None when everything was written, CutMessage::UserCancel when
// cancelled, else the failure's message; the caller commits or discards.
CutMessage CopyByteRange(const ByteCopyRequest& request, int nOutputFd,
                         const std::atomic<bool>& cancel, const CutProgress& progress);
