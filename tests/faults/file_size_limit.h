#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <cstdint>

// Caps the size of every file this process writes, as a full disk would: a
// write that would pass the cap stops there and the next one fails with EFBIG.
// SIGXFSZ is ignored while the cap holds, so the writer sees the error instead
// of being killed. The previous cap and signal action return on destruction.
// The cap is process-wide: write the test's input files before taking it.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(uint64_t nBytes);
    ~ScopedFileSizeLimit();
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

    bool Ok() const { return m_bOk; }

private:
    rlimit m_previous{};
    struct sigaction m_previousAction {};
    bool m_bOk = false;
};
