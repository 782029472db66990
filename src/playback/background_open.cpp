#include "playback/background_open.h"

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "common/debug_log.h"
#include "playback/pending_opens.h"

namespace {

constexpr int kExitWaitMs = 3000;

void WaitForRunningAtExit();

// Threads of opens and clean-ups still running, so that the process can wait
// for them before the engine is torn down.
struct RunningThreads {
    std::mutex mutex;
    std::condition_variable idle;
    int nCount = 0;

    void Enter() {
        // The wait runs as the application object goes: a port thread that
        // ends after it would take Qt's per-thread data down with Qt
        // already gone. Exit handlers run last registered first, so the
        // fallback, registered after the engine's own (a port was taken
        // before anything here runs), still waits before the engine frees
        // every port at exit.
        static const bool bWaitsAtExit = [] {
            if (QCoreApplication::instance() != nullptr) qAddPostRoutine(&WaitForRunningAtExit);
            return std::atexit(&WaitForRunningAtExit) == 0;
        }();
        (void)bWaitsAtExit;
        std::lock_guard lock(mutex);
        ++nCount;
    }
    void Leave() {
        std::lock_guard lock(mutex);
        if (--nCount == 0) idle.notify_all();
    }
    bool WaitIdle(int nTimeoutMs) {
        std::unique_lock lock(mutex);
        return idle.wait_for(lock, std::chrono::milliseconds(nTimeoutMs),
                             [this] { return nCount == 0; });
    }
};

RunningThreads& Running() {
    // Never destroyed: the exit wait uses it after static destruction began.
    static RunningThreads* running = new RunningThreads;
    return *running;
}

void WaitForRunningAtExit() { Running().WaitIdle(kExitWaitMs); }

std::atomic<uint64_t> g_nextTicket{1};

}  // namespace

struct CBackgroundOpen::Shared {
    // The engine calls as they were when the open started: a test may swap
    // the table on the user-interface thread while this open runs.
    decltype(&Vemor_OpenFile) fnOpenFile;
    decltype(&Vemor_CloseFile) fnCloseFile;
    decltype(&Vemor_FreePort) fnFreePort;
    decltype(&Vemor_GetLastError) fnGetLastError;

    std::mutex mutex;
    QObject* pReceiver = nullptr;  // null once abandoned
    bool bAnswered = false;
    bool bOpened = false;

    // Opens the file, or only gives the port back when the open was
    // abandoned before its turn came, and answers the receiver.
    void Run(int32_t lPort, const QByteArray& utf8Path, uint64_t nTicket);

    // Closes the file the engine opened and gives the port back.
    void Release(int32_t lPort, bool bOpened) const {
        if (bOpened) fnCloseFile(lPort);
        fnFreePort(lPort);
    }
};

CBackgroundOpen::CBackgroundOpen(int32_t lPort, std::shared_ptr<Shared> pShared)
    : m_lPort(lPort), m_nTicket(g_nextTicket++), m_pShared(std::move(pShared)) {}

CBackgroundOpen::~CBackgroundOpen() = default;

std::shared_ptr<CBackgroundOpen> CBackgroundOpen::Start(int32_t lPort, const QByteArray& utf8Path,
                                                        QObject* pReceiver) {
    auto pShared = std::make_shared<Shared>();
    const EngineApi& engine = Engine();
    pShared->fnOpenFile = engine.OpenFile;
    pShared->fnCloseFile = engine.CloseFile;
    pShared->fnFreePort = engine.FreePort;
    pShared->fnGetLastError = engine.GetLastError;
    pShared->pReceiver = pReceiver;
    std::shared_ptr<CBackgroundOpen> pOpen(new CBackgroundOpen(lPort, pShared));
    Running().Enter();
    PendingOpens::Shared().Add([pShared, lPort, utf8Path, nTicket = pOpen->m_nTicket] {
        pShared->Run(lPort, utf8Path, nTicket);
        Running().Leave();
    });
    return pOpen;
}

void CBackgroundOpen::Shared::Run(int32_t lPort, const QByteArray& utf8Path, uint64_t nTicket) {
    {
        std::lock_guard lock(mutex);
        // Abandoned while it waited its turn: the port was never opened.
        if (pReceiver == nullptr) {
            bAnswered = true;
            fnFreePort(lPort);
            return;
        }
    }
    const bool bOpenedNow = fnOpenFile(lPort, utf8Path.constData()) != 0;
    const uint32_t nError = bOpenedNow ? 0 : fnGetLastError(lPort);
    bool bAbandoned;
    {
        std::lock_guard lock(mutex);
        bAnswered = true;
        bOpened = bOpenedNow;
        bAbandoned = pReceiver == nullptr;
        // Posted under the lock: the receiver cannot abandon (and go away)
        // in between.
        if (!bAbandoned) {
            QCoreApplication::postEvent(pReceiver, new COpenAnswerEvent(nTicket, bOpenedNow, nError));
        }
    }
    if (bAbandoned) Release(lPort, bOpenedNow);
}

void CBackgroundOpen::Abandon() {
    bool bOpened;
    {
        std::lock_guard lock(m_pShared->mutex);
        if (m_pShared->pReceiver == nullptr) return;
        m_pShared->pReceiver = nullptr;
        // Still waiting its turn or opening: the open's worker releases the
        // port when the engine answers.
        if (!m_pShared->bAnswered) return;
        bOpened = m_pShared->bOpened;
    }
    // The answer is already on its way (and will be ignored): closing waits
    // for the port's threads, so it runs off this thread too.
    Running().Enter();
    std::thread([pShared = m_pShared, lPort = m_lPort, bOpened] {
        pShared->Release(lPort, bOpened);
        Running().Leave();
    }).detach();
}

bool CBackgroundOpen::WaitForAll(int nTimeoutMs) { return Running().WaitIdle(nTimeoutMs); }

void ReleasePortInBackground(int32_t lPort, bool bStop, std::shared_ptr<void> pKeepAlive) {
    const EngineApi engine = Engine();
    Running().Enter();
    std::thread([engine, lPort, bStop, pKeepAlive = std::move(pKeepAlive)] {
        if (bStop && !engine.Stop(lPort)) {
            DebugLog("Vemor_Stop() Fail deError=%d", engine.GetLastError(lPort));
        }
        engine.StopSoundShare(lPort);
        if (!engine.CloseFile(lPort)) {
            DebugLog("Vemor_CloseFile() Fail GetLastError()=%d", engine.GetLastError(lPort));
        }
        if (!engine.FreePort(lPort)) {
            DebugLog("Vemor_FreePort() Fail GetLastError()=%d", engine.GetLastError(lPort));
        }
        Running().Leave();
    }).detach();
}
