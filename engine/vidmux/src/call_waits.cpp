#include "call_waits.h"

namespace vidmux {

namespace {

thread_local int t_callingPort = -1;

}  // namespace

CallWaits& CallWaits::Instance() {
    static CallWaits* waits = new CallWaits;
    return *waits;
}

int CallWaits::CallingPort() { return t_callingPort; }

void CallWaits::SetCallingPort(int port) { t_callingPort = port; }

bool CallWaits::Begin(int waiter, int target) {
    std::lock_guard lock(m_mutex);
    for (int port = target;;) {
        if (port == waiter) return false;
        auto next = m_waitingOn.find(port);
        if (next == m_waitingOn.end()) break;
        port = next->second;
    }
    m_waitingOn[waiter] = target;
    return true;
}

void CallWaits::End(int waiter) {
    std::lock_guard lock(m_mutex);
    m_waitingOn.erase(waiter);
}

ScopedCallWait::ScopedCallWait(int target) : m_waiter(CallWaits::CallingPort()) {
    if (m_waiter < 0 || m_waiter == target) return;
    m_allowed = CallWaits::Instance().Begin(m_waiter, target);
    m_recorded = m_allowed;
}

ScopedCallWait::~ScopedCallWait() {
    if (m_recorded) CallWaits::Instance().End(m_waiter);
}

}  // namespace vidmux
