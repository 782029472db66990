// Starting synchronous play without holding the user-interface thread: the
// files' times are analysed on worker threads, then every pane opens its file
// on a thread of its own, and the group is formed once all have answered.

#include <QCoreApplication>
#include <QEvent>
#include <mutex>

#include "playback/dlg_show.h"
#include "playback/file_time_analyzer.h"
#include "playback/lang_text.h"
#include "playback/main_window_link.h"
#include "playback/play_helper.h"
#include "playback/play_wnd.h"
#include "playback/sync_repositioner.h"
#include "playback/sync_timeline.h"

// What the analysis of a start's files found; written by the workers, read
// on the user-interface thread once they have all returned.
struct CDlgShow::SyncFilesTimes {
    std::vector<FileTimeInfo> records;  // one per path
    std::vector<char> analysed;         // one per path: the file has time information
};

namespace {

// Posted when the analysis of start nStart has finished.
class SyncFilesAnalysedEvent : public QEvent {
public:
    static QEvent::Type Type() {
        static const auto eType = static_cast<QEvent::Type>(QEvent::registerEventType());
        return eType;
    }
    explicit SyncFilesAnalysedEvent(uint64_t nStart) : QEvent(Type()), m_nStart(nStart) {}
    uint64_t Start() const { return m_nStart; }

private:
    uint64_t m_nStart;
};

}  // namespace

bool CDlgShow::StartSyncPlay(const QStringList& paths, std::function<void(bool)> fnDone) {
    if (paths.isEmpty()) return false;
    SettleSyncReposition();
    AbandonSyncStart();
    const int32_t nCount = std::min<int32_t>(static_cast<int32_t>(paths.size()), m_nLayout);
    auto pStart = std::make_unique<PendingSyncStart>();
    pStart->nStart = ++m_nSyncStarts;
    pStart->paths = paths.mid(0, nCount);
    pStart->fnDone = std::move(fnDone);
    pStart->pTimes = std::make_shared<SyncFilesTimes>();
    pStart->pTimes->records.resize(nCount);
    pStart->pTimes->analysed.resize(nCount);

    // One analysis per file, all at once; each writes only its own slot.
    std::vector<std::function<void()>> calls;
    for (int32_t i = 0; i < nCount; ++i) {
        calls.push_back([pTimes = pStart->pTimes, strPath = pStart->paths[i], i] {
            pTimes->analysed[i] = AnalyzeFileTime(strPath, &pTimes->records[i]) ? 1 : 0;
        });
    }
    const uint64_t nStart = pStart->nStart;
    m_pSyncStart = std::move(pStart);
    // Waits for an earlier start's analysis, whose answer is then ignored.
    if (!m_pSyncAnalysis) m_pSyncAnalysis = std::make_unique<SyncRepositioner>();
    m_pSyncAnalysis->Run(std::move(calls), [this, nStart] {
        QCoreApplication::postEvent(this, new SyncFilesAnalysedEvent(nStart));
    });
    return true;
}

bool CDlgShow::HandleSyncStartEvent(QEvent* pEvent) {
    if (pEvent->type() != SyncFilesAnalysedEvent::Type()) return false;
    OnSyncFilesAnalysed(static_cast<SyncFilesAnalysedEvent*>(pEvent)->Start());
    return true;
}

void CDlgShow::OnSyncFilesAnalysed(uint64_t nStart) {
    if (!m_pSyncStart || m_pSyncStart->nStart != nStart) return;
    m_pSyncAnalysis->Wait();
    // Closing the panes below would abandon the start: it is held aside.
    std::unique_ptr<PendingSyncStart> pStart = std::move(m_pSyncStart);
    const SyncFilesTimes& times = *pStart->pTimes;
    FileTimeInfo stEarliest{}, stLatest{};
    const bool bAllTimed =
        std::all_of(times.analysed.begin(), times.analysed.end(), [](char c) { return c != 0; });
    // Any file without time, or files that do not all overlap: nothing changes.
    if (!bAllTimed || !GetSyncTimeSpan(times.records, &stEarliest, &stLatest)) {
        if (m_pMainWnd != nullptr) {
            m_pMainWnd->ShowMessage(LangText("IDS_PlayWnd_FilesHasNoSyncTime",
                                             "Files has no synchronous time, can not play!"));
        }
        if (pStart->fnDone) pStart->fnDone(false);
        return;
    }

    if (m_bSync) {
        CloseAllPanes();
    } else if (CPlayWnd* pSel = GetSelPlayWnd();
               pSel != nullptr && pSel->GetPlayState() != PLAY_STATE_IDLE) {
        pSel->Reset();
        pSel->Close();
    }
    SetSyncMode(true);
    m_stEarliestStart = stEarliest;
    m_stLatestEnd = stLatest;
    m_bySyncActive.fill(0);
    m_vecSyncFiles.clear();

    // Every pane opens on its own thread; the group is formed once all have
    // answered, so that no member plays before the others have joined.
    m_pSyncStart = std::move(pStart);
    const QStringList& syncPaths = m_pSyncStart->paths;
    for (int32_t i = 0; i < static_cast<int32_t>(syncPaths.size()); ++i) {
        CPlayWnd* pPane = m_pPlayWnd[i];
        if (syncPaths[i].isEmpty() || pPane == nullptr) continue;
        // The pane is this container's child and drops the callback when the
        // open is abandoned: `this` outlives every call.
        if (pPane->OpenInBackground(syncPaths[i],
                                    [this, i](bool bOpened) { OnSyncPaneOpened(i, bOpened); })) {
            ++m_pSyncStart->nPending;
        }
    }
    if (m_pSyncStart->nPending == 0) {
        FinishSyncStart();
    } else {
        PostPlayStateChanged();
    }
}

void CDlgShow::OnSyncPaneOpened(int32_t nIndex, bool bOpened) {
    if (!m_pSyncStart) return;
    m_pSyncStart->bOpened[nIndex] = bOpened;
    if (--m_pSyncStart->nPending == 0) FinishSyncStart();
}

void CDlgShow::FinishSyncStart() {
    const std::unique_ptr<PendingSyncStart> pStart = std::move(m_pSyncStart);
    const std::vector<FileTimeInfo>& records = pStart->pTimes->records;
    for (int32_t i = 0; i < static_cast<int32_t>(pStart->paths.size()); ++i) {
        CPlayWnd* pPane = m_pPlayWnd[i];
        if (!pStart->bOpened[i] || pPane == nullptr || !pPane->SetSyncGroup()) continue;
        m_bySyncActive[i] = 1;
        SyncFileEntry entry;
        entry.nSubIndex = i;
        entry.lPort = pPane->GetPort();
        entry.strPath = pStart->paths[i];
        entry.stInfo = records[i];
        entry.nStartSec = SecondsSinceYearOne(FileStartTime(records[i]));
        entry.nEndSec = SecondsSinceYearOne(FileEndTime(records[i]));
        m_vecSyncFiles.push_back(entry);
    }
    if (pStart->bPlay) {
        ForEachPaneInLayout([](int32_t, CPlayWnd* pPane) { PlaySyncPane(pPane); });
    }
    ApplySettings();
    PostPlayStateChanged();
    if (pStart->fnDone) pStart->fnDone(true);
}

void CDlgShow::AbandonSyncStart() {
    if (!m_pSyncStart) return;
    const std::unique_ptr<PendingSyncStart> pStart = std::move(m_pSyncStart);
    // Panes still opening give their open up; those that already answered
    // are closed, since they never joined a group. A start still analysing
    // has opened nothing.
    if (pStart->nPending == 0) return;
    for (int32_t i = 0; i < static_cast<int32_t>(pStart->paths.size()); ++i) {
        CPlayWnd* pPane = m_pPlayWnd[i];
        if (pPane == nullptr) continue;
        if (pPane->IsOpening() || pPane->GetPlayState() != PLAY_STATE_IDLE) {
            pPane->Reset();
            pPane->Close();
        }
    }
    PostPlayStateChanged();
}
