#pragma once

#include <QByteArray>
#include <QEvent>
#include <QObject>
#include <cstdint>
#include <memory>

#include "playback/engine_api.h"

// Opens a file on an engine port on a thread of its own, so that probing the
// file and decoding its first picture never hold the user-interface thread.
// The answer reaches the receiver as a COpenAnswerEvent. A receiver that no
// longer wants the answer (its pane was closed or destroyed) abandons the
// open: the port then belongs to the open, which closes the file and frees
// the port itself once the engine has answered.
class CBackgroundOpen {
public:
    // Starts opening `utf8Path` on `lPort` with the engine table as it is now.
    static std::shared_ptr<CBackgroundOpen> Start(int32_t lPort, const QByteArray& utf8Path,
                                                  QObject* pReceiver);
    ~CBackgroundOpen();
    CBackgroundOpen(const CBackgroundOpen&) = delete;
    CBackgroundOpen& operator=(const CBackgroundOpen&) = delete;

    int32_t Port() const { return m_lPort; }
    // Tells this open's answer from the answers of earlier opens.
    uint64_t Ticket() const { return m_nTicket; }
    // No answer is posted after this returns; the port is closed and freed
    // off this thread. The receiver must already have unregistered its
    // callbacks from the port.
    void Abandon();

    // Waits up to `nTimeoutMs` for every open and clean-up still running
    // (the process exits after them); true when none is left.
    static bool WaitForAll(int nTimeoutMs);

private:
    struct Shared;
    CBackgroundOpen(int32_t lPort, std::shared_ptr<Shared> pShared);

    const int32_t m_lPort;
    const uint64_t m_nTicket;
    std::shared_ptr<Shared> m_pShared;
};

// Stops and closes the file open on `lPort` and frees the port on a thread of
// its own: closing waits for the port's threads to end, which on a busy
// machine holds the caller for tens of milliseconds. The caller must already
// have unregistered its callbacks and detached its window from the port;
// `pKeepAlive` (the detached window) is held until the port is closed.
// CBackgroundOpen::WaitForAll waits for it too.
void ReleasePortInBackground(int32_t lPort, bool bStop, std::shared_ptr<void> pKeepAlive);

// The engine's answer to a background open, posted to the receiver.
class COpenAnswerEvent : public QEvent {
public:
    static constexpr QEvent::Type TYPE = static_cast<QEvent::Type>(QEvent::User + 211);

    COpenAnswerEvent(uint64_t nTicket, bool bOpened, uint32_t nError)
        : QEvent(TYPE), m_nTicket(nTicket), m_bOpened(bOpened), m_nError(nError) {}
    uint64_t Ticket() const { return m_nTicket; }
    bool Opened() const { return m_bOpened; }
    uint32_t Error() const { return m_nError; }

private:
    uint64_t m_nTicket;
    bool m_bOpened;
    uint32_t m_nError;
};
