#include "tools/mediaprobe/byte_view.h"

#include <cstring>

size_t ByteView::Find(size_t nFrom, const uint8_t* pNeedle, size_t nCount) const {
    if (nFrom >= nSize || nCount == 0) return nSize;
    // glibc's memmem and memchr scan many bytes per step; the scans call this
    // for every resynchronisation, thousands of times over a megabyte.
    const void* pHit = nCount == 1 ? std::memchr(pData + nFrom, pNeedle[0], nSize - nFrom)
                                   : memmem(pData + nFrom, nSize - nFrom, pNeedle, nCount);
    return pHit != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(pHit) - pData) : nSize;
}
