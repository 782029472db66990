#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "merge_list.h"

namespace kelsa {

// Handles are small positive numbers, never reused while the library is loaded,
// so a handle kept after its destruction finds nothing instead of someone
// else's list. Entries are shared: a merge keeps its list alive while another
// thread destroys the handle.
class HandleTable {
public:
    static HandleTable& Instance();

    int32_t Create();  // 0 when the numbers are used up
    std::shared_ptr<MergeList> Find(int32_t handle);
    std::shared_ptr<MergeList> Remove(int32_t handle);

private:
    std::mutex m_mutex;
    std::map<int32_t, std::shared_ptr<MergeList>> m_lists;
    int32_t m_nNext = 1;
};

}  // namespace kelsa
