// The main window's initialisation and teardown, in their fixed order.

#include <QGuiApplication>
#include <QScreen>

#include "common/debug_log.h"
#include "controls/skin_button.h"
#include "lang/language_parser.h"
#include "mainwnd/command_line.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/float_dlg.h"
#include "mainwnd/main_menus.h"
#include "enhance/video_enhance_dlg.h"
#include "mainwnd/orlin_dlg.h"
#include "mainwnd/playlist_controller.h"
#include "playback/background_open.h"
#include "playback/dlg_show.h"
#include "playback/file_probe.h"
#include "playback/sync_locate_dlg.h"
#include "settings/settings_startup.h"
#include "tools/cut/file_cut_dlg.h"
#include "tools/watermark/water_mark_dlg.h"

namespace {
// Linux counts as a system newer than major version 5 everywhere the version matters.
constexpr int32_t kOsMajorVersion = 6;
// How long closing the window waits for ports that close off its thread.
constexpr int kEngineWorkExitWaitMs = 3000;
}  // namespace

bool COrlinDlg::OnInitDialog(const QStringList& arguments) {
    m_nOsMajorVersion = kOsMajorVersion;

    // Settings first: the language and the playback options shape everything after.
    LoadSettingsAtStartup(m_stSettings);

    m_pDlgShow = new CDlgShow(m_pClient);
    m_pDlgShow->SetMainWnd(this);
    // Right clicks inside the pane area open the context menu.
    m_pDlgShow->installEventFilter(this);
    m_pPlaylist->AttachPaneArea(m_pDlgShow);
    m_pDlgShow->hide();
    m_bDlgShowCreated = true;
    m_pDlgShow->SetSyncMode(false);
    m_pFloatDlg = new CFloatDlg(m_pClient, [this](int nId) { OnControl(nId); });
    m_pVideoEnhance = new CVideoEnhance(this, this);
    m_pVideoEnhance->hide();
    CreateSyncRuler();

    LayoutControls();

    if (m_nOsMajorVersion > 5) {
        if (const QScreen* pScreen = QGuiApplication::primaryScreen()) {
            const QRect rcScreen = pScreen->availableGeometry();
            move(rcScreen.center() - QPoint(width() / 2, height() / 2));
        }
    }

    CreateWaterMarkDlg();
    RefreshPlayState();
    ApplyLanguage(m_stSettings.nLanguage);

    // The window always starts at the screen origin at its normal size.
    resize(START_WIDTH, START_HEIGHT);
    move(0, 0);
    m_pDlgShow->show();
    LayoutControls();
    ApplyPlayerSettings();

    m_nOsMajorVersion = kOsMajorVersion;
    m_timer2.start();
    OpenCommandLineFiles(arguments);
    return true;
}

void COrlinDlg::ApplyLanguage(LanguageCode nCode) {
    m_stSettings.nLanguage = nCode;
    CLanguageParser::LoadStringFile(nCode);
    m_pMenus->Retranslate(nCode);
    ReloadStatusTexts();
    if (m_pCutPanel != nullptr) m_pCutPanel->ReloadTexts();
    RefreshEnhancePanel();
    RefreshPlayState();
    if (m_bSyncRulerShown) m_pSyncLocate->RefreshTexts();
    // The language toggle shows the language it switches to.
    if (CSkinButton* pLanguage = GetButton(IDC_LANGUAGE)) {
        const int nPicture = nCode == LANGUAGE_CHINESE_SIMPLIFIED ? 239 : 287;
        pLanguage->SetSkin(nPicture, nPicture, nPicture, pLanguage->toolTip());
    }
}

void COrlinDlg::OpenCommandLineFiles(const QStringList& arguments) {
    bool bPlaying = false;
    for (const QString& strPath : ParseCommandLine(arguments).paths) {
        const MediaFileCheck check = CheckMediaFile(strPath);
        if (!check.IsPlayable()) {
            ShowFileProblem(strPath, check);
            continue;
        }
        AddToPlaylist(strPath);
        if (bPlaying) continue;
        m_pDlgShow->SelectPaneByIndex(0);
        bPlaying = OpenInPane(strPath);
    }
}

void COrlinDlg::OnDestroy() {
    if (m_bDestroyed) return;
    m_bDestroyed = true;
    SaveSettingsAtExit(m_stSettings);
    // A cut still running ends (its partial clip removed) before the panes go.
    delete m_pCutPanel;
    delete m_pWaterMarkDlg;
    m_pWaterMarkDlg = nullptr;
    // Deleting the container closes its panes and frees their engine ports;
    // the playlist lets go of it first.
    m_pPlaylist->AttachPaneArea(nullptr);
    delete m_pDlgShow;
    m_pDlgShow = nullptr;
    m_bDlgShowCreated = false;
    // Ports closing off the window's thread are gone before the window is.
    if (!CBackgroundOpen::WaitForAll(kEngineWorkExitWaitMs)) {
        DebugLog("COrlinDlg::OnDestroy() engine ports still closing after %d ms",
                 kEngineWorkExitWaitMs);
    }
    m_timer2.stop();
}
