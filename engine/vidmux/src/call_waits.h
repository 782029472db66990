#pragma once

#include <map>
#include <mutex>

namespace vidmux {

// Which port thread waits on which port. A port thread (in a callback) that
// calls another port waits for that port's thread; were that thread, or one
// it waits on in turn, waiting on the caller's port, neither would ever go
// on. Such a call is refused instead.
class CallWaits {
public:
    static CallWaits& Instance();

    // The port whose thread runs the calling code, or -1 for other threads.
    static int CallingPort();
    static void SetCallingPort(int port);

    // Records that `waiter`'s thread is about to wait on `target`; false
    // (nothing recorded) when that would close a cycle.
    bool Begin(int waiter, int target);
    void End(int waiter);

private:
    std::mutex m_mutex;
    std::map<int, int> m_waitingOn;
};

// Holds a recorded wait for the duration of a scope.
class ScopedCallWait {
public:
    explicit ScopedCallWait(int target);
    ~ScopedCallWait();
    ScopedCallWait(const ScopedCallWait&) = delete;
    ScopedCallWait& operator=(const ScopedCallWait&) = delete;
    // False when the wait would never end.
    bool Allowed() const { return m_allowed; }

private:
    int m_waiter;
    bool m_allowed = true;
    bool m_recorded = false;
};

}  // namespace vidmux
