#include "mainwnd/file_prober.h"

#include <QMetaObject>

#include "playback/file_probe.h"

CFileProber::CFileProber(QObject* pParent) : QObject(pParent) {
    // One worker keeps the requests in order.
    m_pool.setMaxThreadCount(1);
}

CFileProber::~CFileProber() {
    m_bStopping = true;
    m_pool.clear();
    m_pool.waitForDone();
    // Answers already posted die with this object.
}

void CFileProber::Probe(const QStringList& paths, int32_t nMaxAccepted, Done done) {
    ++m_nPending;
    m_pool.start([this, paths, nMaxAccepted, done = std::move(done)] {
        QStringList accepted;
        for (const QString& strPath : paths) {
            if (m_bStopping) return;
            if (nMaxAccepted != NO_LIMIT && accepted.size() >= nMaxAccepted) break;
            if (ProbeMediaFile(strPath)) accepted.append(strPath);
        }
        QMetaObject::invokeMethod(
            this,
            [this, accepted, done] {
                --m_nPending;
                if (done) done(accepted);
            },
            Qt::QueuedConnection);
    });
}
