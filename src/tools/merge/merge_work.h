#pragma once

#include <QEvent>
#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "tools/merge/kelsa_module.h"

// One file for the merge library: its path and play length.
struct MergeListEntry {
    QString strPath;
    int32_t nDurationMs = 0;
};

// Posted to the dialog when the merge thread has finished.
class MergeDoneEvent : public QEvent {
public:
    enum Outcome {
        Merged,   // the output is complete
        Failed,   // the library could not merge; the handle is destroyed
        Refused,  // a listed file is gone or was refused; the handle is kept
    };
    static QEvent::Type Type();
    MergeDoneEvent(Outcome eOutcome, QString strRefusedPath)
        : QEvent(Type()), m_eOutcome(eOutcome), m_strRefusedPath(std::move(strRefusedPath)) {}
    Outcome GetOutcome() const { return m_eOutcome; }
    const QString& RefusedPath() const { return m_strRefusedPath; }

private:
    Outcome m_eOutcome;
    QString m_strRefusedPath;
};

// One merge on a thread of its own: it lists the files in the library (each
// must exist and be accepted), merges, destroys the handle and posts a
// MergeDoneEvent to the receiver. Listing a thousand files takes seconds, so
// none of it runs on the user's thread. The thread never touches a widget. The
// receiver can stop listening at any time, after which the thread ends by
// itself without posting.
class CMergeWork {
public:
    CMergeWork(const CKelsaModule& kelsa, QObject* pReceiver);
    // Abandons a thread that still runs.
    ~CMergeWork();
    CMergeWork(const CMergeWork&) = delete;
    CMergeWork& operator=(const CMergeWork&) = delete;

    // False when the thread cannot be started.
    bool Start(int32_t nHandle, std::vector<MergeListEntry> files, const QString& strOutputPath);
    // Asks the thread to stop: between files while listing, in the library while merging.
    void RequestStop(int32_t nHandle);
    // Waits up to `nMs` for the thread; true (and the thread is joined) when it ended.
    bool WaitFor(int nMs);
    // Stops listening: no event will be posted any more, and a thread still
    // running is left to end on its own.
    void Abandon();

private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable ended;
        QObject* pReceiver = nullptr;
        bool bDone = false;
        std::atomic<bool> bStop{false};
    };

    static void Run(const CKelsaModule& kelsa, Shared& shared, int32_t nHandle,
                    const std::vector<MergeListEntry>& files, const QString& strOutputPath);
    static void Finish(Shared& shared, MergeDoneEvent::Outcome eOutcome, const QString& strPath);

    CKelsaModule m_kelsa;
    std::shared_ptr<Shared> m_pShared;
    std::thread m_thread;
};
