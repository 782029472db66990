// The main window's side of synchronous play: the mode button, playing a set
// of files on one clock, the ruler under the control bar and its 500 ms feed.

#include <vector>

#include "controls/bitmap_slider.h"
#include "controls/my_static.h"
#include "controls/skin_button.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/orlin_dlg.h"
#include "mainwnd/playlist_controller.h"
#include "playback/dlg_show.h"
#include "playback/engine_api.h"
#include "playback/play_wnd.h"
#include "playback/sync_locate_dlg.h"
#include "tools/cut/file_cut_dlg.h"

namespace {

// The ruler's strip is this much taller than the status line it replaces.
constexpr int kRulerGrowth = 109;
constexpr int32_t kSyncVolume = 32767;

QString TimeText(const VemorSystemTime& t) {
    return QString::asprintf("%2d-%2d-%2d %2d:%2d:%2d", t.dwYear, t.dwMon, t.dwDay, t.dwHour,
                             t.dwMin, t.dwSec);
}

}  // namespace

bool COrlinDlg::IsSyncMode() const { return m_pDlgShow != nullptr && m_pDlgShow->IsSyncMode(); }

void COrlinDlg::CreateSyncRuler() {
    m_pSyncLocate = new CSyncLocateDlg(m_pClient, this, m_pDlgShow);
    m_pSyncLocate->hide();
    m_pPlaylist->SetSyncPlayHandler([this](const QStringList& paths) { PlaySync(paths); });
}

void COrlinDlg::ShowSyncRuler(bool bShow) {
    if (bShow == m_bSyncRulerShown) return;
    m_bSyncRulerShown = bShow;
    // The window grows by the ruler's extra height instead of squeezing the panes.
    if (!isMaximized() && !isFullScreen()) {
        resize(width(), height() + (bShow ? kRulerGrowth : -kRulerGrowth));
    }
    LayoutControls();
    if (bShow) m_pSyncLocate->RefreshTexts();
}

void COrlinDlg::ShowSyncButtonLook(bool bSync) {
    if (CSkinButton* pButton = GetButton(IDC_SYNC)) {
        pButton->SetSkin(bSync ? QStringLiteral("sync_on") : QStringLiteral("sync"),
                         pButton->toolTip());
    }
}

void COrlinDlg::ToggleSyncMode() {
    const bool bSync = !IsSyncMode();
    m_pDlgShow->SetSyncMode(bSync);
    m_pSyncLocate->Clear();
    ShowSyncRuler(bSync);
    ShowSyncButtonLook(bSync);
    ReloadToolTips();
    RefreshPlayState();
}

bool COrlinDlg::PlaySync(const QStringList& paths) {
    // The group plays once the files' times are checked and every pane has
    // opened its file; the window follows then.
    return !paths.isEmpty() && m_pDlgShow->StartSyncPlay(paths, [this](bool bStarted) {
        if (bStarted) OnSyncStarted();
    });
}

void COrlinDlg::OnSyncStarted() {
    // Only one camera may sound, and it starts at half volume.
    m_pDlgShow->SetVolume(0, false);
    if (m_bSoundOn) {
        m_pVolume->SetPos(kSyncVolume);
        m_nVolume = m_pVolume->GetPos();
        m_pDlgShow->SetVolume(m_nVolume, true);
    }
    RefreshSyncRuler();
    ShowSyncRuler(true);
    ShowSyncButtonLook(true);
    m_pDlgShow->SetColour(m_nBrightness, m_nContrast, m_nSaturation, m_nHue);
    if (m_pCutPanel != nullptr && m_pCutPanel->isVisible()) m_pCutPanel->hide();
    ReloadToolTips();
    RefreshPlayState();
}

void COrlinDlg::RefreshSyncRuler() {
    if (m_pSyncLocate == nullptr || !IsSyncMode()) return;
    std::vector<SyncFileEntry> entries;
    FileTimeInfo stEarliest{}, stLatest{};
    m_pDlgShow->CopySyncData(&entries, &stEarliest, &stLatest);
    // Files that were closed leave the ruler.
    std::erase_if(entries, [this](const SyncFileEntry& entry) {
        const CPlayWnd* pPane = m_pDlgShow->GetPlayWnd(entry.nSubIndex);
        return pPane == nullptr || pPane->GetPlayState() == PLAY_STATE_IDLE;
    });
    if (entries.empty()) {
        m_pSyncLocate->Clear();
    } else {
        m_pSyncLocate->SetSyncData(entries, &stEarliest, &stLatest);
    }
}

void COrlinDlg::OnTimer2Sync() {
    FileTimeInfo stEarliest{}, stLatest{};
    m_pDlgShow->CopySyncData(nullptr, &stEarliest, &stLatest);
    m_pLeftTime->SetText(
        QStringLiteral("Start:%1  End:%2")
            .arg(TimeText(FileStartTime(stEarliest)), TimeText(FileEndTime(stLatest))));
    uint32_t nPlayed = 0;
    if (const CPlayWnd* pSel = m_pDlgShow->GetSelPlayWnd();
        pSel != nullptr && pSel->GetPort() >= 0) {
        nPlayed = Engine().GetPlayedTime(pSel->GetPort());
    }
    m_pRightTime->SetText(
        QString::asprintf(" %02u:%02u:%02u", nPlayed / 3600, nPlayed % 3600 / 60, nPlayed % 60));
    m_pLeftTime->update();
    m_pRightTime->update();
    if (!m_bSyncRulerShown) return;
    double dPrecent = 0;
    VemorSystemTime stTime{};
    if (m_pDlgShow->GetSyncPlayPrecent(&dPrecent, &stTime)) {
        m_pSyncLocate->SetPlayProgress(dPrecent, &stTime);
    }
}
