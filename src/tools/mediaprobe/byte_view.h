#pragma once

#include <cstddef>
#include <cstdint>

// Read-only bytes with bounds-checked access. Every accessor takes the offset
// of the first byte; `Has` must hold for the bytes read, the readers assume it.
struct ByteView {
    const uint8_t* pData = nullptr;
    size_t nSize = 0;

    // True when the `nCount` bytes from `nOffset` lie inside the view.
    constexpr bool Has(size_t nOffset, size_t nCount) const {
        return nOffset <= nSize && nCount <= nSize - nOffset;
    }
    constexpr uint8_t At(size_t nOffset) const { return pData[nOffset]; }
    constexpr uint16_t Le16(size_t nOffset) const {
        return static_cast<uint16_t>(pData[nOffset] | pData[nOffset + 1] << 8);
    }
    constexpr uint32_t Le32(size_t nOffset) const {
        return static_cast<uint32_t>(Le16(nOffset)) | static_cast<uint32_t>(Le16(nOffset + 2))
                                                          << 16;
    }
    constexpr uint16_t Be16(size_t nOffset) const {
        return static_cast<uint16_t>(pData[nOffset] << 8 | pData[nOffset + 1]);
    }
    constexpr uint32_t Be32(size_t nOffset) const {
        return static_cast<uint32_t>(Be16(nOffset)) << 16 | Be16(nOffset + 2);
    }
    constexpr uint64_t Be64(size_t nOffset) const {
        return static_cast<uint64_t>(Be32(nOffset)) << 32 | Be32(nOffset + 4);
    }
    // Offset of the first occurrence of `nCount` bytes `pNeedle` at or after
    // `nFrom`; nSize when there is none.
    size_t Find(size_t nFrom, const uint8_t* pNeedle, size_t nCount) const;
};
