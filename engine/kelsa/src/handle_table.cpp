#include "handle_table.h"

#include <new>

namespace kelsa {

HandleTable& HandleTable::Instance() {
    static HandleTable s_table;
    return s_table;
}

int32_t HandleTable::Create() {
    std::lock_guard lock(m_mutex);
    if (m_nNext == INT32_MAX) return 0;
    auto list = std::shared_ptr<MergeList>(new (std::nothrow) MergeList);
    if (list == nullptr) return 0;
    const int32_t nHandle = m_nNext++;
    m_lists.emplace(nHandle, std::move(list));
    return nHandle;
}

std::shared_ptr<MergeList> HandleTable::Find(int32_t handle) {
    std::lock_guard lock(m_mutex);
    const auto it = m_lists.find(handle);
    return it != m_lists.end() ? it->second : nullptr;
}

std::shared_ptr<MergeList> HandleTable::Remove(int32_t handle) {
    std::lock_guard lock(m_mutex);
    const auto it = m_lists.find(handle);
    if (it == m_lists.end()) return nullptr;
    auto list = std::move(it->second);
    m_lists.erase(it);
    return list;
}

}  // namespace kelsa
