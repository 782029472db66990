// Synchronous play: one file per visible pane, joined into the engine's
// synchronisation group and treated as one day-aligned timeline.

#include <QCoreApplication>
#include <QEvent>

#include "common/debug_log.h"
#include "playback/dlg_show.h"
#include "playback/engine_api.h"
#include "playback/lang_text.h"
#include "playback/main_window_link.h"
#include "playback/play_helper.h"
#include "playback/play_wnd.h"
#include "playback/port_ends.h"
#include "playback/sync_repositioner.h"
#include "playback/sync_timeline.h"

void CDlgShow::PlaySyncPane(CPlayWnd* pPane) {
    const PlayState eState = pPane->GetPlayState();
    if (eState != PLAY_STATE_IDLE && eState != PLAY_STATE_PLAYING) {
        pPane->PlayNotSync();
    } else {
        DebugLog("CPlayWnd::Play() return 1");
    }
}

namespace {

// Posted by the repositioning worker when every pane has its picture.
class SyncRepositionedEvent : public QEvent {
public:
    static QEvent::Type Type() {
        static const auto eType = static_cast<QEvent::Type>(QEvent::registerEventType());
        return eType;
    }
    explicit SyncRepositionedEvent(uint32_t nGeneration)
        : QEvent(Type()), m_nGeneration(nGeneration) {}
    uint32_t Generation() const { return m_nGeneration; }

private:
    uint32_t m_nGeneration;
};

}  // namespace

std::function<void()> CDlgShow::SyncSeekCall(size_t nEntry, const VemorSystemTime& stTime) {
    const SyncFileEntry& entry = m_vecSyncFiles[nEntry];
    const int nIndex = static_cast<int>(nEntry);
    const int32_t lPort = entry.lPort;
    const SyncSeekStep step =
        PlanSyncSeek(FileStartTime(entry.stInfo), FileEndTime(entry.stInfo), stTime);
    switch (step.eAction) {
        case SyncSeekAction::SeekTo:
            DebugLog(
                "CDlgShow::SetSyncPlayPrecent() SetPlayedTimeMs() nSubIndex=%d, lPort=%d, "
                "stPosTime.dwHour=%d, stPosTime.dwMin=%d, stPosTime.dwSec=%d, nMs=%u",
                nIndex, lPort, stTime.dwHour, stTime.dwMin, stTime.dwSec, step.nMilliseconds);
            SetSyncActive(entry.nSubIndex, true);
            return [lPort, nMs = step.nMilliseconds] {
                if (!Engine().SetPlayedTimeEx(lPort, nMs)) {
                    DebugLog("CDlgShow::SetSyncPlayPrecent() Fail dwErr=%d",
                             Engine().GetLastError(lPort));
                }
            };
        case SyncSeekAction::ToStart:
            DebugLog("CDlgShow::SetSyncPlayPrecent() GoToStart() nSubIndex=%d, lPort=%d", nIndex,
                     lPort);
            SetSyncActive(entry.nSubIndex, true);
            return [lPort] { MovePortToStart(lPort, "CDlgShow::SetSyncPlayPrecent()"); };
        case SyncSeekAction::ToEnd: {
            DebugLog("CDlgShow::SetSyncPlayPrecent() GoToEnd() nSubIndex=%d, lPort=%d", nIndex,
                     lPort);
            SetSyncActive(entry.nSubIndex, false);
            return [lPort] { MovePortToEnd(lPort, "CDlgShow::SetSyncPlayPrecent()"); };
        }
        case SyncSeekAction::None:
            break;
    }
    return {};
}

bool CDlgShow::SetSyncPlayPrecent(double dPrecent) {
    if (!m_bSync) return false;
    const VemorSystemTime stEarliest = FileStartTime(m_stEarliestStart);
    const VemorSystemTime stLatest = FileEndTime(m_stLatestEnd);
    const SyncTimeline timeline = MakeSyncTimeline(stEarliest, stLatest);
    VemorSystemTime stTime{};
    if (!CPlayHelper::GetGlobalTimeByPrecent(&timeline.stStart, &timeline.stEnd, dPrecent,
                                             &stTime)) {
        return false;
    }
    // A click outside the recorded span changes nothing; its first second,
    // where the earliest recording starts, is inside it.
    if (CPlayHelper::IsEarlier(&stTime, &stEarliest) ||
        !CPlayHelper::IsEarlier(&stTime, &stLatest)) {
        return false;
    }
    // A drag during a repositioning keeps the play it interrupted.
    const bool bResume =
        GetSelState() == PLAY_STATE_PLAYING || (m_bResumeAfterReposition && IsSyncRepositioning());
    SettleSyncReposition();
    // Each port pauses, then seeks, on its own worker thread.
    std::vector<std::function<void()>> calls;
    for (size_t i = 0; i < m_vecSyncFiles.size(); ++i) {
        CPlayWnd* pPane = GetPlayWnd(m_vecSyncFiles[i].nSubIndex);
        if (pPane == nullptr) continue;
        std::function<void()> pause = pPane->PauseCall();
        if (pPane->GetPlayState() != PLAY_STATE_PAUSED) continue;
        std::function<void()> seek = SyncSeekCall(i, stTime);
        if (!pause && !seek) continue;
        calls.push_back([pause = std::move(pause), seek = std::move(seek)] {
            if (pause) pause();
            if (seek) seek();
        });
    }
    m_bResumeAfterReposition = bResume;
    const uint32_t nGeneration = ++m_nRepositionGeneration;
    if (!m_pRepositioner) m_pRepositioner = std::make_unique<SyncRepositioner>();
    m_pRepositioner->Run(std::move(calls), [this, nGeneration] {
        QCoreApplication::postEvent(this, new SyncRepositionedEvent(nGeneration));
    });
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::IsSyncRepositioning() const {
    return m_pRepositioner && m_pRepositioner->Running() && m_bSync;
}

void CDlgShow::SettleSyncReposition() {
    if (!m_pRepositioner) return;
    m_pRepositioner->Wait();
    ++m_nRepositionGeneration;
    m_bResumeAfterReposition = false;
}

void CDlgShow::OnSyncRepositioned(uint32_t nGeneration) {
    if (nGeneration != m_nRepositionGeneration) return;
    m_pRepositioner->Wait();
    if (m_bSync && m_bResumeAfterReposition) {
        for (const SyncFileEntry& entry : m_vecSyncFiles) {
            CPlayWnd* pPane = GetPlayWnd(entry.nSubIndex);
            if (pPane != nullptr && IsSyncActive(entry.nSubIndex) &&
                pPane->GetPlayState() == PLAY_STATE_PAUSED) {
                PlaySyncPane(pPane);
            }
        }
    }
    m_bResumeAfterReposition = false;
    PostPlayStateChanged();
}

bool CDlgShow::event(QEvent* pEvent) {
    if (pEvent->type() == SyncRepositionedEvent::Type()) {
        OnSyncRepositioned(static_cast<SyncRepositionedEvent*>(pEvent)->Generation());
        return true;
    }
    if (HandleSyncStartEvent(pEvent)) return true;
    return QWidget::event(pEvent);
}

bool CDlgShow::GetSyncPlayPrecent(double* pPrecent, VemorSystemTime* pTime) const {
    if (!m_bSync || pTime == nullptr || pPrecent == nullptr) return false;
    const SyncTimeline timeline =
        MakeSyncTimeline(FileStartTime(m_stEarliestStart), FileEndTime(m_stLatestEnd));
    double dPrecent = 1.0;
    for (const SyncFileEntry& entry : m_vecSyncFiles) {
        CPlayWnd* pPane = GetPlayWnd(entry.nSubIndex);
        if (pPane == nullptr) {
            DebugLog(" CDlgShow::GetSyncPlayPrecent() m_pPlayWnd[i] == NULL");
            continue;
        }
        const PlayState eState = pPane->GetPlayState();
        if ((eState != PLAY_STATE_PLAYING && eState != PLAY_STATE_PAUSED) ||
            !IsSyncActive(entry.nSubIndex)) {
            continue;
        }
        VemorSystemTime stCur{};
        if (!pPane->GetCurGlobalTime(&stCur)) {
            DebugLog("!m_pPlayWnd[i]->GetCurGlobalTime()");
            continue;
        }
        double dPane = 0.0;
        if (!CPlayHelper::GetPrecentByGlobalTime(&timeline.stStart, &timeline.stEnd, &stCur,
                                                 &dPane)) {
            DebugLog("!CPlayHelper::GetPrecentByGlobalTime");
            continue;
        }
        if (dPane < dPrecent) {
            dPrecent = dPane;
            *pTime = stCur;
        }
    }
    if (dPrecent == 1.0) {
        *pTime = FileEndTime(m_stLatestEnd);
        double dEnd = 0.0;
        if (CPlayHelper::GetPrecentByGlobalTime(&timeline.stStart, &timeline.stEnd, pTime, &dEnd)) {
            dPrecent = dEnd;
        }
    }
    *pPrecent = dPrecent;
    return true;
}

bool CDlgShow::CopySyncData(std::vector<SyncFileEntry>* pEntries, FileTimeInfo* pEarliest,
                            FileTimeInfo* pLatest) const {
    if (pEarliest == nullptr || pLatest == nullptr) return false;
    if (pEntries != nullptr) {
        pEntries->insert(pEntries->end(), m_vecSyncFiles.begin(), m_vecSyncFiles.end());
    }
    *pEarliest = m_stEarliestStart;
    *pLatest = m_stLatestEnd;
    return true;
}
