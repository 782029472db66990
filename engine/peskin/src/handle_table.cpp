#include "handle_table.h"

namespace peskin {

HandleTable& HandleTable::Instance() {
    // Never destroyed: another thread may still call in while the process exits.
    static HandleTable* table = new HandleTable;
    return *table;
}

int32_t HandleTable::Create() {
    std::lock_guard lock(m_mutex);
    for (size_t i = 0; i < kHandles; ++i) {
        if (!m_used[i]) {
            m_used[i] = true;
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

bool HandleTable::Destroy(int32_t handle) {
    std::lock_guard lock(m_mutex);
    if (handle < 0 || static_cast<size_t>(handle) >= kHandles || !m_used[handle]) return false;
    m_used[handle] = false;
    return true;
}

bool HandleTable::IsValid(int32_t handle) {
    std::lock_guard lock(m_mutex);
    return handle >= 0 && static_cast<size_t>(handle) < kHandles && m_used[handle];
}

}  // namespace peskin
