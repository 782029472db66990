#pragma once

#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <cstdint>
#include <functional>

#include "playback/file_probe.h"

// Asks the engine whether files can be played, away from the user-interface
// thread: a probe opens the file, and a few hundred of them would freeze the
// window. Requests are served one after another in the order they were made;
// each one's answer runs on the thread that owns this object.
class CFileProber : public QObject {
    Q_OBJECT
public:
    struct Rejected {
        QString strPath;
        MediaFileCheck check;
    };
    struct Answer {
        QStringList accepted;
        QList<Rejected> rejected;
    };
    using Done = std::function<void(const Answer& answer)>;
    static constexpr int32_t NO_LIMIT = -1;

    explicit CFileProber(QObject* pParent = nullptr);
    // Stops after the file being probed and drops the answers not yet given.
    ~CFileProber() override;

    // Probes `paths` in order and hands the accepted ones, in the same order,
    // and the refused ones with the reason to `done`; stops early once
    // nMaxAccepted files are accepted.
    void Probe(const QStringList& paths, int32_t nMaxAccepted, Done done);
    bool IsBusy() const { return m_nPending > 0; }

private:
    QThreadPool m_pool;
    std::atomic<bool> m_bStopping{false};
    int m_nPending = 0;  // user-interface thread only
};
