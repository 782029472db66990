#include "app/quit_signals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>

#include "common/debug_log.h"

namespace {
constexpr std::array<int, 3> kQuitSignals = {SIGTERM, SIGINT, SIGHUP};

// Written by the signal handler, read on the user-interface thread.
int g_nWriteFd = -1;
int g_nReadFd = -1;
struct sigaction g_previous[kQuitSignals.size()];

void OnQuitSignal(int nSignal) {
    const int nSaved = errno;
    const unsigned char byte = static_cast<unsigned char>(nSignal);
    // Async-signal-safe; a full pipe means a quit is already on its way.
    [[maybe_unused]] const ssize_t n = write(g_nWriteFd, &byte, 1);
    errno = nSaved;
}
}  // namespace

CQuitSignals::CQuitSignals(Handler onSignal, QObject* pParent)
    : QObject(pParent), m_onSignal(std::move(onSignal)) {
    if (g_nWriteFd >= 0) {
        DebugLog("CQuitSignals: a second instance is not installed");
        return;
    }
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0) {
        DebugLog("CQuitSignals: socketpair failed errno=%d", errno);
        return;
    }
    g_nReadFd = fds[0];
    g_nWriteFd = fds[1];
    m_pNotifier = new QSocketNotifier(g_nReadFd, QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CQuitSignals::OnReadable);

    struct sigaction action {};
    action.sa_handler = &OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    m_bInstalled = true;
    for (size_t i = 0; i < kQuitSignals.size(); ++i) {
        if (sigaction(kQuitSignals[i], &action, &g_previous[i]) != 0) m_bInstalled = false;
    }
}

CQuitSignals::~CQuitSignals() {
    if (g_nWriteFd < 0 || m_pNotifier == nullptr) return;
    for (size_t i = 0; i < kQuitSignals.size(); ++i) {
        sigaction(kQuitSignals[i], &g_previous[i], nullptr);
    }
    delete m_pNotifier;
    m_pNotifier = nullptr;
    close(g_nReadFd);
    close(g_nWriteFd);
    g_nReadFd = g_nWriteFd = -1;
}

void CQuitSignals::OnReadable() {
    unsigned char buffer[16];
    const ssize_t n = read(g_nReadFd, buffer, sizeof buffer);
    for (ssize_t i = 0; i < n; ++i) {
        DebugLog("CQuitSignals: signal %d, closing", buffer[i]);
        if (m_onSignal) m_onSignal(buffer[i]);
    }
}
