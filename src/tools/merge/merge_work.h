#pragma once

#include <QEvent>
#include <QObject>
#include <QString>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "tools/merge/kelsa_module.h"

// Posted to the dialog when the merge thread has finished.
class MergeDoneEvent : public QEvent {
public:
    static QEvent::Type Type();
    explicit MergeDoneEvent(bool bSucceeded) : QEvent(Type()), m_bSucceeded(bSucceeded) {}
    bool Succeeded() const { return m_bSucceeded; }

private:
    bool m_bSucceeded;
};

// One merge on a thread of its own. The thread calls the library (merge, then
// destroy the handle) and posts a MergeDoneEvent to the receiver; it never
// touches a widget. The receiver can stop listening at any time, after which
// the thread ends by itself without posting.
class CMergeWork {
public:
    CMergeWork(const CKelsaModule& kelsa, QObject* pReceiver);
    // Abandons a thread that still runs.
    ~CMergeWork();
    CMergeWork(const CMergeWork&) = delete;
    CMergeWork& operator=(const CMergeWork&) = delete;

    // False when the thread cannot be started.
    bool Start(int32_t nHandle, const QString& strOutputPath);
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
    };

    CKelsaModule m_kelsa;
    std::shared_ptr<Shared> m_pShared;
    std::thread m_thread;
};
