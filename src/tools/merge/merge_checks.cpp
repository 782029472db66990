#include "tools/merge/merge_checks.h"

#include <algorithm>
#include <limits>

MergeCheck CheckMergeList(int nCount, bool bOutputEmpty, uint64_t nTotalSize) {
    if (nCount < kMinMergeFiles) return MergeCheck::TooFewFiles;
    if (bOutputEmpty) return MergeCheck::NoOutputPath;
    if (nTotalSize >= kMergeSizeLimit) return MergeCheck::TooLarge;
    return MergeCheck::Ok;
}

uint64_t TotalMergeSize(const std::vector<uint64_t>& sizes) {
    uint64_t nTotal = 0;
    for (const uint64_t nSize : sizes) {
        nTotal = nSize > std::numeric_limits<uint64_t>::max() - nTotal
                     ? std::numeric_limits<uint64_t>::max()
                     : nTotal + nSize;
    }
    return nTotal;
}

int FilesThatFit(int nListed, int nChosen) {
    return std::clamp(kMaxMergeFiles - nListed, 0, std::max(nChosen, 0));
}
