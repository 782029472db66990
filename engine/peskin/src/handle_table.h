#pragma once

#include <array>
#include <cstdint>
#include <mutex>

namespace peskin {

// Handles are indexes into a fixed table guarded by a mutex, so a stale or
// made-up handle is refused instead of followed.
class HandleTable {
public:
    static HandleTable& Instance();

    int32_t Create();
    bool Destroy(int32_t handle);
    bool IsValid(int32_t handle);

private:
    static constexpr size_t kHandles = 64;
    std::mutex m_mutex;
    std::array<bool, kHandles> m_used{};
};

}  // namespace peskin
