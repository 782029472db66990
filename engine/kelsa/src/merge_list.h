#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "merge_input.h"

namespace kelsa {

struct ListedFile {
    std::string path;
    int32_t durationMs = 0;
    InputFacts facts;
};

// The state behind one handle: the files listed for the next merge and the
// flags a running merge shares with other threads.
class MergeList {
public:
    // KELSA_OK, KELSA_ERR_BUSY while a merge runs.
    int Clear();
    // Opens the file and appends it when it can be joined to the first one.
    int Add(const std::string& path, int32_t durationMs);
    // Runs the merge on the caller's thread.
    int Merge(const std::string& outputPath);
    void RequestStop() { m_bStop = true; }

private:
    std::mutex m_mutex;  // guards m_files
    std::vector<ListedFile> m_files;
    std::atomic<bool> m_bMerging{false};
    // Stays set until the merge it stops has ended or the list is cleared, so a
    // stop asked for just before the merge starts is not lost.
    std::atomic<bool> m_bStop{false};
};

}  // namespace kelsa
