#include "tools/merge/merge_work.h"

#include <QCoreApplication>
#include <QFileInfo>
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

bool CMergeWork::Start(int32_t nHandle, std::vector<MergeListEntry> files,
                       const QString& strOutputPath) {
    if (m_thread.joinable()) return false;
    try {
        m_thread =
            std::thread([kelsa = m_kelsa, pShared = m_pShared, nHandle, files = std::move(files),
                         strOutputPath] { Run(kelsa, *pShared, nHandle, files, strOutputPath); });
    } catch (const std::system_error& error) {
        DebugLog("CMergeWork::Start thread Fail %s", error.what());
        return false;
    }
    return true;
}

void CMergeWork::Run(const CKelsaModule& kelsa, Shared& shared, int32_t nHandle,
                     const std::vector<MergeListEntry>& files, const QString& strOutputPath) {
    kelsa.ClearMergeList(nHandle);
    for (const MergeListEntry& file : files) {
        if (shared.bStop) return Finish(shared, MergeDoneEvent::Failed, QString());
        if (!QFileInfo::exists(file.strPath) ||
            kelsa.AddToMergeList(nHandle, file.strPath, file.nDurationMs) != 0) {
            return Finish(shared, MergeDoneEvent::Refused, file.strPath);
        }
    }
    // A stop asked for from here on reaches the library, which keeps it until
    // the merge has ended.
    const bool bMerged = !shared.bStop && !strOutputPath.isEmpty() &&
                         kelsa.MergeFileInList(nHandle, strOutputPath) == 0;
    kelsa.DestroyHandle(nHandle);
    Finish(shared, bMerged ? MergeDoneEvent::Merged : MergeDoneEvent::Failed, QString());
}

void CMergeWork::Finish(Shared& shared, MergeDoneEvent::Outcome eOutcome, const QString& strPath) {
    std::lock_guard lock(shared.mutex);
    shared.bDone = true;
    if (shared.pReceiver != nullptr) {
        QCoreApplication::postEvent(shared.pReceiver, new MergeDoneEvent(eOutcome, strPath));
    }
    shared.ended.notify_all();
}

void CMergeWork::RequestStop(int32_t nHandle) {
    m_pShared->bStop = true;
    if (nHandle != 0) m_kelsa.StopMerge(nHandle);
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
