#include "tools/merge/merge_work.h"

#include <QCoreApplication>
#include <chrono>
#include <system_error>

#include "common/debug_log.h"

QEvent::Type MergeDoneEvent::Type() {
    static const auto s_type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return s_type;
}

CMergeWork::CMergeWork(const CKelsaModule& kelsa, QObject* pReceiver)
    : m_kelsa(kelsa), m_pShared(std::make_shared<Shared>()) {
    m_pShared->pReceiver = pReceiver;
}

CMergeWork::~CMergeWork() { Abandon(); }

bool CMergeWork::Start(int32_t nHandle, const QString& strOutputPath) {
    if (m_thread.joinable()) return false;
    try {
        m_thread = std::thread([kelsa = m_kelsa, pShared = m_pShared, nHandle, strOutputPath] {
            const bool bMerged = nHandle != 0 && !strOutputPath.isEmpty() &&
                                 kelsa.MergeFileInList(nHandle, strOutputPath) == 0;
            if (nHandle != 0) kelsa.DestroyHandle(nHandle);
            std::lock_guard lock(pShared->mutex);
            pShared->bDone = true;
            if (pShared->pReceiver != nullptr) {
                QCoreApplication::postEvent(pShared->pReceiver, new MergeDoneEvent(bMerged));
            }
            pShared->ended.notify_all();
        });
    } catch (const std::system_error& error) {
        DebugLog("CMergeWork::Start thread Fail %s", error.what());
        return false;
    }
    return true;
}

bool CMergeWork::WaitFor(int nMs) {
    if (!m_thread.joinable()) return true;
    {
        std::unique_lock lock(m_pShared->mutex);
        if (!m_pShared->ended.wait_for(lock, std::chrono::milliseconds(nMs),
                                       [&] { return m_pShared->bDone; })) {
            return false;
        }
    }
    m_thread.join();
    return true;
}

void CMergeWork::Abandon() {
    {
        std::lock_guard lock(m_pShared->mutex);
        m_pShared->pReceiver = nullptr;
    }
    if (!m_thread.joinable()) return;
    if (WaitFor(0)) return;
    // Still inside the library, which stops within a second of being asked;
    // it keeps its own reference to what it shares with us.
    m_thread.detach();
}
