// Adding any bytes to a merge list, and merging them when they are accepted:
// the list must refuse what cannot be joined, and a merge must end with its
// output complete or absent.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "fuzz_input_file.h"
#include "kelsa.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static FuzzInputFile input;
    static const std::string strOutput = input.Path() + "-merged.mp4";
    static const int32_t nHandle = [] {
        const int32_t h = KELSA_CreateHandle();
        if (h <= 0) std::abort();
        return h;
    }();
    if (KELSA_ClearMergeList(nHandle) != KELSA_OK) __builtin_trap();
    const std::string& strPath = input.Write(pData, nSize);
    const int32_t nFirst = KELSA_AddToMergeList(nHandle, strPath.c_str(), 0, 2000);
    if (nFirst == KELSA_OK) {
        // The same file again always matches the first.
        if (KELSA_AddToMergeList(nHandle, strPath.c_str(), 0, 2000) != KELSA_OK) __builtin_trap();
        const int32_t nMerged = KELSA_MergeFileInList(nHandle, strOutput.c_str());
        std::error_code error;
        const bool bExists = std::filesystem::exists(strOutput, error);
        if ((nMerged == KELSA_OK) != bExists) __builtin_trap();
        ::unlink(strOutput.c_str());
    } else if (KELSA_MergeFileInList(nHandle, strOutput.c_str()) != KELSA_ERR_EMPTY_LIST) {
        __builtin_trap();
    }
    return 0;
}
