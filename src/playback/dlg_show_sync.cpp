// Synchronous play: one file per visible pane, joined into the engine's
// synchronisation group and treated as one day-aligned timeline.

#include "common/debug_log.h"
#include "playback/dlg_show.h"
#include "playback/file_time_analyzer.h"
#include "playback/lang_text.h"
#include "playback/main_window_link.h"
#include "playback/play_helper.h"
#include "playback/play_wnd.h"
#include "playback/sync_timeline.h"

namespace {

// Analyses every file; any file without time fails the whole set.
bool GetFilesTimeSpan(const QStringList& paths, std::vector<FileTimeInfo>* pRecords,
                      FileTimeInfo* pEarliest, FileTimeInfo* pLatest) {
    for (const QString& strPath : paths) {
        FileTimeInfo info{};
        if (!AnalyzeFileTime(strPath, &info)) return false;
        pRecords->push_back(info);
    }
    return GetSyncTimeSpan(*pRecords, pEarliest, pLatest);
}

// Plays a synchronised pane that is neither idle nor already playing.
void PlaySyncPane(CPlayWnd* pPane) {
    const PlayState eState = pPane->GetPlayState();
    if (eState != PLAY_STATE_IDLE && eState != PLAY_STATE_PLAYING) {
        pPane->PlayNotSync();
    } else {
        DebugLog("CPlayWnd::Play() return 1");
    }
}

}  // namespace

bool CDlgShow::StartSyncPlay(const QStringList& paths) {
    if (paths.isEmpty()) return false;
    const int32_t nCount = std::min<int32_t>(static_cast<int32_t>(paths.size()), m_nLayout);
    const QStringList syncPaths = paths.mid(0, nCount);
    // The span is checked before anything closes, so a refusal changes nothing.
    std::vector<FileTimeInfo> records;
    FileTimeInfo stEarliest{}, stLatest{};
    if (!GetFilesTimeSpan(syncPaths, &records, &stEarliest, &stLatest)) {
        if (m_pMainWnd != nullptr) {
            m_pMainWnd->ShowMessage(LangText("IDS_PlayWnd_FilesHasNoSyncTime",
                                             "Files has no synchronous time, can not play!"));
        }
        return false;
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

    for (int32_t i = 0; i < nCount; ++i) {
        CPlayWnd* pPane = m_pPlayWnd[i];
        if (syncPaths[i].isEmpty() || pPane == nullptr) continue;
        if (!pPane->Open(syncPaths[i]) || !pPane->SetSyncGroup()) continue;
        m_bySyncActive[i] = 1;
        SyncFileEntry entry;
        entry.nSubIndex = i;
        entry.lPort = pPane->GetPort();
        entry.strPath = syncPaths[i];
        entry.stInfo = records[i];
        entry.nStartSec = SecondsSinceYearOne(FileStartTime(records[i]));
        entry.nEndSec = SecondsSinceYearOne(FileEndTime(records[i]));
        m_vecSyncFiles.push_back(entry);
    }
    ForEachPaneInLayout([](int32_t, CPlayWnd* pPane) { PlaySyncPane(pPane); });
    ApplySettings();
    PostPlayStateChanged();
    return true;
}

void CDlgShow::RepositionSyncFile(size_t nEntry, const VemorSystemTime& stTime) {
    const SyncFileEntry& entry = m_vecSyncFiles[nEntry];
    CPlayWnd* pPane = GetPlayWnd(entry.nSubIndex);
    const int nIndex = static_cast<int>(nEntry);
    const SyncSeekStep step =
        PlanSyncSeek(FileStartTime(entry.stInfo), FileEndTime(entry.stInfo), stTime);
    switch (step.eAction) {
        case SyncSeekAction::SeekTo:
            DebugLog(
                "CDlgShow::SetSyncPlayPrecent() SetPlayedTimeMs() nSubIndex=%d, lPort=%d, "
                "stPosTime.dwHour=%d, stPosTime.dwMin=%d, stPosTime.dwSec=%d, nMs=%u",
                nIndex, entry.lPort, stTime.dwHour, stTime.dwMin, stTime.dwSec, step.nMilliseconds);
            pPane->SetPlayedTimeMs(step.nMilliseconds);
            SetSyncActive(entry.nSubIndex, true);
            break;
        case SyncSeekAction::ToStart:
            DebugLog("CDlgShow::SetSyncPlayPrecent() GoToStart() nSubIndex=%d, lPort=%d", nIndex,
                     entry.lPort);
            pPane->GoToStart();
            SetSyncActive(entry.nSubIndex, true);
            break;
        case SyncSeekAction::ToEnd:
            DebugLog("CDlgShow::SetSyncPlayPrecent() GoToEnd() nSubIndex=%d, lPort=%d", nIndex,
                     entry.lPort);
            pPane->GoToEnd();
            SetSyncActive(entry.nSubIndex, false);
            break;
        case SyncSeekAction::None:
            break;
    }
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
    // A click outside the recorded span changes nothing.
    if (!CPlayHelper::IsEarlier(&stEarliest, &stTime) ||
        !CPlayHelper::IsEarlier(&stTime, &stLatest)) {
        return false;
    }
    const PlayState eWas = GetSelState();
    for (const SyncFileEntry& entry : m_vecSyncFiles) {
        CPlayWnd* pPane = GetPlayWnd(entry.nSubIndex);
        if (pPane != nullptr && pPane->GetPlayState() == PLAY_STATE_PLAYING) pPane->Pause();
    }
    for (size_t i = 0; i < m_vecSyncFiles.size(); ++i) {
        const CPlayWnd* pPane = GetPlayWnd(m_vecSyncFiles[i].nSubIndex);
        if (pPane != nullptr && pPane->GetPlayState() == PLAY_STATE_PAUSED) {
            RepositionSyncFile(i, stTime);
        }
    }
    if (eWas == PLAY_STATE_PLAYING) {
        for (const SyncFileEntry& entry : m_vecSyncFiles) {
            CPlayWnd* pPane = GetPlayWnd(entry.nSubIndex);
            if (pPane != nullptr && IsSyncActive(entry.nSubIndex)) PlaySyncPane(pPane);
        }
    }
    PostPlayStateChanged();
    return true;
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
