#include "mainwnd/file_prober.h"

#include <QMetaObject>

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
        Answer answer;
        for (const QString& strPath : paths) {
            if (m_bStopping) return;
            if (nMaxAccepted != NO_LIMIT && answer.accepted.size() >= nMaxAccepted) break;
            const MediaFileCheck check = CheckMediaFile(strPath);
            if (check.IsPlayable()) {
                answer.accepted.append(strPath);
            } else {
                answer.rejected.append({strPath, check});
            }
        }
        QMetaObject::invokeMethod(
            this,
            [this, answer, done] {
                --m_nPending;
                if (done) done(answer);
            },
            Qt::QueuedConnection);
    });
}
