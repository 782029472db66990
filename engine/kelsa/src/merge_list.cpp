#include "merge_list.h"

#include "kelsa.h"
#include "stream_joiner.h"

namespace kelsa {

int MergeList::Clear() {
    if (m_bMerging) return KELSA_ERR_BUSY;
    std::lock_guard lock(m_mutex);
    m_files.clear();
    m_bStop = false;
    return KELSA_OK;
}

int MergeList::Add(const std::string& path, int32_t durationMs) {
    if (m_bMerging) return KELSA_ERR_BUSY;
    // Opened outside the lock: probing a file takes a while.
    MergeInput input;
    const int nOpened = OpenMergeInput(path, &input);
    if (nOpened != KELSA_OK) return nOpened;
    std::lock_guard lock(m_mutex);
    if (!m_files.empty() && !input.facts.SameVideoAs(m_files.front().facts)) {
        return KELSA_ERR_MISMATCH;
    }
    m_files.push_back({path, durationMs, input.facts});
    return KELSA_OK;
}

int MergeList::Merge(const std::string& outputPath) {
    if (m_bMerging.exchange(true)) return KELSA_ERR_BUSY;
    std::vector<ListedFile> files;
    {
        std::lock_guard lock(m_mutex);
        files = m_files;
    }
    const int nResult =
        files.empty() ? KELSA_ERR_EMPTY_LIST : JoinFiles(files, outputPath, m_bStop);
    m_bStop = false;
    m_bMerging = false;
    return nResult;
}

}  // namespace kelsa
