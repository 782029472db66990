#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace sidesupport {

// The objects behind a side library's handles. A handle is a small positive
// index into the table (0 never names anything), so a stale, foreign or made-up
// handle is refused instead of dereferenced. Callers hold a found object by
// shared pointer, so Remove() never destroys an object another thread uses.
template <typename T>
class HandleTable {
public:
    explicit HandleTable(size_t capacity) : m_slots(capacity) {}

    // The new handle, or 0 when every slot is taken.
    int32_t Add(std::shared_ptr<T> object) {
        std::lock_guard lock(m_mutex);
        for (size_t i = 0; i < m_slots.size(); ++i) {
            if (!m_slots[i]) {
                m_slots[i] = std::move(object);
                return static_cast<int32_t>(i + 1);
            }
        }
        return 0;
    }

    std::shared_ptr<T> Find(int32_t handle) const {
        std::lock_guard lock(m_mutex);
        if (!Valid(handle)) return nullptr;
        return m_slots[static_cast<size_t>(handle - 1)];
    }

    // Takes the object out of the table; null when the handle names nothing.
    std::shared_ptr<T> Remove(int32_t handle) {
        std::lock_guard lock(m_mutex);
        if (!Valid(handle)) return nullptr;
        return std::move(m_slots[static_cast<size_t>(handle - 1)]);
    }

    // Empties the table, for libraries that clean up at process exit.
    std::vector<std::shared_ptr<T>> RemoveAll() {
        std::lock_guard lock(m_mutex);
        std::vector<std::shared_ptr<T>> all;
        for (auto& slot : m_slots) {
            if (slot) all.push_back(std::move(slot));
        }
        return all;
    }

private:
    bool Valid(int32_t handle) const {
        return handle >= 1 && static_cast<size_t>(handle) <= m_slots.size();
    }

    mutable std::mutex m_mutex;
    std::vector<std::shared_ptr<T>> m_slots;
};

}  // namespace sidesupport
