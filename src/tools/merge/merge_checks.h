#pragma once

#include <cstdint>
#include <vector>

// The merge dialog's arithmetic: list limits and the size checks made before a
// merge starts.

inline constexpr int kMaxMergeFiles = 1000;
inline constexpr int kMinMergeFiles = 2;
// The merged file must stay below 4 GiB.
inline constexpr uint64_t kMergeSizeLimit = 4294967296ULL;

enum class MergeCheck {
    Ok,
    TooFewFiles,   // fewer than two files listed
    NoOutputPath,  // no output chosen
    TooLarge,      // the files add up to 4 GiB or more
};

// The checks that need no disk, in the order the user meets them.
MergeCheck CheckMergeList(int nCount, bool bOutputEmpty, uint64_t nTotalSize);

// Sum of the listed files' full sizes; saturates instead of wrapping.
uint64_t TotalMergeSize(const std::vector<uint64_t>& sizes);

// The output fits when it is no larger than the free space (equal fits).
inline bool FitsOnDisk(uint64_t nTotalSize, uint64_t nFreeBytes) {
    return nTotalSize <= nFreeBytes;
}

// How many of `nChosen` new files can join `nListed` listed ones.
int FilesThatFit(int nListed, int nChosen);
