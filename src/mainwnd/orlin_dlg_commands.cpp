// What the main window's commands do: menu items, control-bar buttons and,
// later, hot keys all arrive here.

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include "common/debug_log.h"
#include "controls/bitmap_slider.h"
#include "controls/orlin_message_box.h"
#include "controls/skin_button.h"
#include "mainwnd/command_ids.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/float_dlg.h"
#include "mainwnd/ih_list_box.h"
#include "mainwnd/main_menus.h"
#include "enhance/video_enhance_dlg.h"
#include "mainwnd/orlin_dlg.h"
#include "mainwnd/play_order.h"
#include "mainwnd/playlist_controller.h"
#include "mainwnd/progress_math.h"
#include "mainwnd/side_library.h"
#include "mainwnd/window_mode_geometry.h"
#include "playback/dlg_show.h"
#include "playback/engine_folder.h"
#include "playback/lang_text.h"
#include "playback/orlin_messages.h"
#include "playback/play_wnd.h"
#include "settings/player_set_dlg.h"
#include "tools/avi/convert_dlg.h"
#include "tools/cut/file_cut_dlg.h"
#include "tools/merge/file_merge_dlg.h"

namespace {
void ShowText(QWidget* pParent, const char* szKey, const char* szDefault) {
    OrlinMessageBox(pParent, LangText(szKey, szDefault));
}

void ShowFileRefNotDone(QWidget* pParent) {
    ShowText(pParent, "IDS_MainWnd_FileRefNotDone", "Generate file index,please wait...");
}
}  // namespace

PlayState COrlinDlg::SelState() const {
    return m_pDlgShow != nullptr ? m_pDlgShow->GetSelState() : PLAY_STATE_IDLE;
}

bool COrlinDlg::IsPlayable() const { return IsPlayingOrPaused(SelState()); }

void COrlinDlg::OnCommand(int nId) {
    if (m_pDlgShow == nullptr) return;
    PlayOrder eOrder;
    if (PlayOrderFromCommand(nId, &eOrder)) {
        m_ePlayOrder = eOrder;
        return;
    }
    switch (nId) {
        case ID_LANG_CHINESE:
            ApplyLanguage(LANGUAGE_CHINESE_SIMPLIFIED);
            break;
        case ID_LANG_ENGLISH:
            ApplyLanguage(LANGUAGE_ENGLISH);
            break;
        case ID_LANG_PORTUGUESE:
            ApplyLanguage(LANGUAGE_PORTUGUESE);
            break;
        case ID_ADD_FILES:
            m_pPlaylist->AddFilesFromDialog(this);
            break;
        case ID_FILE_INFO:
            ShowFileInfo();
            break;
        case ID_CLOSE_FILE:
            CloseAllFiles();
            break;
        case ID_EXIT:
            reject();
            break;
        case ID_PLAY_PAUSE:
            PlayOrPause();
            break;
        case ID_STOP:
            StopPlay();
            break;
        case ID_TOP_NEVER:
            SetTopMostMode(0);
            break;
        case ID_TOP_PLAYING:
            SetTopMostMode(1);
            break;
        case ID_TOP_ALWAYS:
            SetTopMostMode(2);
            break;
        case ID_FULL_SCREEN:
            ToggleFullScreen();
            break;
        case ID_NORMAL_SIZE:
            SetWindowSizeMode(SIZE_MODE_NORMAL);
            break;
        case ID_DOUBLE_SIZE:
            SetWindowSizeMode(SIZE_MODE_DOUBLE);
            break;
        case ID_HALF_SIZE:
            SetWindowSizeMode(SIZE_MODE_HALF);
            break;
        case ID_QUARTER_SIZE:
            SetWindowSizeMode(SIZE_MODE_QUARTER);
            break;
        case ID_PLAYER_SETTING:
            OpenPlayerSettings(CPlayerSetDlg::PAGE_BASIC);
            break;
        case ID_HOT_KEY:
            OpenPlayerSettings(CPlayerSetDlg::PAGE_HOTKEY);
            break;
        case ID_LOCATE:
            OpenPlayerSettings(CPlayerSetDlg::PAGE_LOCATE);
            break;
        case ID_IMAGE_CONTROL:
            OpenPlayerSettings(CPlayerSetDlg::PAGE_IMAGE_CONTROL);
            break;
        case ID_COLOUR_ADJUST:
            OpenPlayerSettings(CPlayerSetDlg::PAGE_COLOUR);
            break;
        case ID_BACK_PLAY:
            ToggleReverse();
            break;
        case ID_NEXT_FRAME:
            FrameForward();
            break;
        case ID_LAST_FRAME:
            FrameBackward();
            break;
        case ID_SPEED_UP:
            ChangeSpeed(true);
            break;
        case ID_SPEED_DOWN:
            ChangeSpeed(false);
            break;
        case ID_HIGH_QUALITY:
            ToggleHighQuality();
            break;
        case ID_WATERMARK:
            ShowWaterMarkDlg();
            break;
        case ID_IVS:
            ToggleIvs();
            break;
        case ID_SOUND_UP:
            ChangeVolume(true);
            break;
        case ID_SOUND_DOWN:
            ChangeVolume(false);
            break;
        case ID_MUTE:
            ToggleSound();
            break;
        case ID_LAYOUT_1:
            ChangeLayout(1);
            break;
        case ID_LAYOUT_4:
            ChangeLayout(4);
            break;
        case ID_LAYOUT_9:
            ChangeLayout(9);
            break;
        case ID_LAYOUT_16:
            ChangeLayout(16);
            break;
        case ID_VIDEO_ENHANCE:
            VideoEnhance();
            break;
        case ID_CAPTURE:
            Snapshot();
            break;
        case ID_CONTINUOUS_CAPTURE:
            ToggleContinuousCapture();
            break;
        case ID_CUT:
            OpenCutPanel();
            break;
        case ID_MERGE:
            MergeFiles();
            break;
        case ID_CONVERT:
            ConvertFiles();
            break;
        case ID_PART_ZOOM:
            TogglePartZoom();
            break;
        case ID_ABOUT:
        case ID_SYSTEM_ABOUT:
            ShowAboutBox();
            break;
        default:
            break;
    }
}

void COrlinDlg::OnControl(int nId) {
    if (m_pDlgShow == nullptr) return;
    switch (nId) {
        case IDC_PLAYLIST_ADD:
        case IDC_OPEN:
            m_pPlaylist->AddFilesFromDialog(this);
            break;
        case IDC_PLAY_ORDER:
            ShowPlayOrderMenu(QCursor::pos());
            break;
        case IDC_PLAYLIST_DELETE:
            m_pPlaylist->GetListBox()->DeleteSelected();
            break;
        case IDC_PLAYLIST_CLEAR:
            // In synchronous mode clearing closes every file the way the close command does.
            if (m_pDlgShow->IsSyncMode()) CloseAllFiles();
            m_pPlaylist->GetListBox()->Clear(m_pDlgShow->IsSyncMode());
            break;
        case IDC_PLAYLIST_HIDE:
        case IDC_PLAYLIST_TOGGLE:
            TogglePlaylist();
            break;
        case IDC_PLAY_PAUSE:
            PlayOrPause();
            break;
        case IDC_STOP:
            StopPlay();
            break;
        case IDC_GOTO_START:
            m_pDlgShow->GoToStart();
            break;
        case IDC_GOTO_END:
            m_pDlgShow->GoToEnd();
            break;
        case IDC_FRAME_FORWARD:
            FrameForward();
            break;
        case IDC_FRAME_BACK:
            FrameBackward();
            break;
        case IDC_SPEED_UP:
            ChangeSpeed(true);
            break;
        case IDC_SPEED_DOWN:
            ChangeSpeed(false);
            break;
        case IDC_REVERSE:
            ToggleReverse();
            break;
        case IDC_SOUND:
            ToggleSound();
            break;
        case IDC_LANGUAGE:
            ApplyLanguage(m_stSettings.nLanguage == LANGUAGE_CHINESE_SIMPLIFIED
                              ? LANGUAGE_ENGLISH
                              : LANGUAGE_CHINESE_SIMPLIFIED);
            break;
        case IDC_TOOLBOX:
            m_pMenus->Popup(MenuKind::ToolBox, QCursor::pos());
            break;
        case IDC_CAPTURE:
            Snapshot();
            break;
        case CFloatDlg::IDC_FULL_SCREEN:
            ToggleFullScreen();
            break;
        case CFloatDlg::IDC_TOP_MOST:
            SetTopMostMode((m_nTopMostMode + 1) % 3);
            break;
        case CFloatDlg::IDC_PLAYER_SETTING:
            OpenPlayerSettings(CPlayerSetDlg::PAGE_BASIC);
            break;
        case CFloatDlg::IDC_PART_ZOOM:
            TogglePartZoom();
            break;
        case IDC_SYNC:
            ToggleSyncMode();
            break;
        default:
            break;
    }
}

void COrlinDlg::PlayOrPause() {
    if (IsPlayable()) {
        m_pDlgShow->PlayPause();
    } else if (m_pDlgShow->IsSyncMode()) {
        const QStringList paths = m_pPlaylist->SelectedPaths();
        if (!paths.isEmpty()) PlaySync(paths);
    } else {
        const QString strPath = m_pPlaylist->LastSelectedPath();
        if (!strPath.isEmpty()) {
            OpenInPane(strPath);
        } else if (SelState() != PLAY_STATE_IDLE) {
            // A file given on the command line or dropped on a pane has no
            // selected entry: after a stop or its end it plays again in place.
            m_pDlgShow->Play();
            ApplySound();
        }
    }
    RefreshPlayState();
}

void COrlinDlg::StopPlay() {
    DebugLog("COrlinDlg::SyncStop()");
    if (SelState() == PLAY_STATE_STOPPED) {
        DebugLog("COrlinDlg::SyncStop() return 1");
        return;
    }
    if (m_bFullScreen) ToggleFullScreen();
    if (CPlayWnd* pSel = m_pDlgShow->GetSelPlayWnd(); pSel != nullptr && pSel->IsConCapturing()) {
        pSel->ContinuousCapture(false, 0, QString());
    }
    m_pDlgShow->Stop();
    RefreshSyncRuler();
    RefreshPlayState();
}

void COrlinDlg::CloseAllFiles() {
    DebugLog("COrlinDlg::SyncClose()");
    if (SelState() == PLAY_STATE_IDLE) return;
    m_pDlgShow->CloseAllPanes();
    RefreshSyncRuler();
    m_nBrightness = m_nContrast = m_nSaturation = m_nHue = DEFAULT_COLOUR_VALUE;
    if (!isMaximized() && !isFullScreen()) {
        resize(START_WIDTH, START_HEIGHT);
        if (const QScreen* pScreen = screen()) {
            const QRect rcScreen = pScreen->geometry();
            move((rcScreen.width() - width()) / 2, (rcScreen.height() - height()) / 2);
        }
    }
    RefreshPlayState();
    show();
}

void COrlinDlg::FrameForward() {
    if (!IsPlayable() || m_pDlgShow->IsSyncMode()) return;
    if (CPlayWnd* pSel = m_pDlgShow->GetSelPlayWnd()) pSel->FrameForward(true);
    PostOrlinMessage(this, ORLIN_MSG_PLAY_STATE_CHANGED);
}

void COrlinDlg::FrameBackward() {
    if (!IsPlayable()) return;
    CPlayWnd* pSel = m_pDlgShow->GetSelPlayWnd();
    if (pSel != nullptr && pSel->IsFileRefDone()) {
        m_pDlgShow->BackOneFrame();
    } else {
        ShowFileRefNotDone(this);
    }
}

void COrlinDlg::ToggleReverse() {
    if (m_pDlgShow->IsSyncMode()) return;
    CPlayWnd* pSel = m_pDlgShow->GetSelPlayWnd();
    if (IsPlayable() && (pSel == nullptr || !pSel->IsFileRefDone())) {
        ShowFileRefNotDone(this);
        return;
    }
    m_pDlgShow->BackPlay(pSel == nullptr || !pSel->IsBackPlay());
    ReloadToolTips();
    RefreshPlayState();
}

void COrlinDlg::ChangeSpeed(bool bFaster) {
    if (!IsPlayable()) return;
    bFaster ? m_pDlgShow->Fast() : m_pDlgShow->Slow();
    const CPlayWnd* pPane =
        m_pDlgShow->IsSyncMode() ? m_pDlgShow->GetPlayWnd(0) : m_pDlgShow->GetSelPlayWnd();
    m_nSpeedLevel = pPane != nullptr ? pPane->GetSpeedLevel() : 0;
}

void COrlinDlg::ChangeVolume(bool bUp) {
    const int nVolume = bUp ? VolumeUp(m_pVolume->GetPos()) : VolumeDown(m_pVolume->GetPos());
    m_nVolume = nVolume;
    m_pVolume->SetPos(nVolume);
    m_pVolume->update();
    // A volume step is heard: it ends a mute, and the button and menu say so.
    SetSoundOn(true);
}

void COrlinDlg::ToggleSound() { SetSoundOn(!m_bSoundOn); }

void COrlinDlg::SetSoundOn(bool bOn) {
    m_bSoundOn = bOn;
    m_pDlgShow->SetVolume(m_pVolume->GetPos(), m_bSoundOn);
    ReloadToolTips();
    if (CSkinButton* pSound = GetButton(IDC_SOUND)) {
        pSound->SetSkin(m_bSoundOn ? QStringLiteral("sound") : QStringLiteral("mute"),
                        pSound->toolTip());
    }
}

void COrlinDlg::ApplySound() {
    if (m_bSoundOn) {
        m_pDlgShow->SetVolume(m_nVolume, true);
    } else {
        m_pDlgShow->SetVolume(0, false);
    }
}

void COrlinDlg::Snapshot() {
    if (!IsPlayable()) return;
    if (CPlayWnd* pSel = m_pDlgShow->GetSelPlayWnd(); pSel != nullptr && pSel->IsConCapturing()) {
        pSel->ContinuousCapture(false, 0, QString());
    }
    m_pDlgShow->Capture(m_stSettings.nCaptureType, m_stSettings.strCaptureFolder);
}

void COrlinDlg::ToggleContinuousCapture() {
    if (!IsPlayable()) return;
    const CPlayWnd* pSel = m_pDlgShow->GetSelPlayWnd();
    const bool bOn = pSel == nullptr || !pSel->IsConCapturing();
    m_pDlgShow->ContinuousCapture(bOn, m_stSettings.nConCaptureType,
                                  m_stSettings.strConCaptureFolder);
}

void COrlinDlg::TogglePartZoom() {
    if (!IsPlayable()) return;
    if (CPlayWnd* pSel = m_pDlgShow->GetSelPlayWnd()) pSel->EnableZoom(!pSel->IsZoomOn());
    RefreshFloatPanel();
}

void COrlinDlg::ChangeLayout(int32_t nLayout) {
    // The container refuses the current layout and keeps its files open.
    m_pDlgShow->SetLayout(nLayout);
    RefreshSyncRuler();
    UpdateMinimumSize();
    PostOrlinMessage(this, ORLIN_MSG_PLAY_STATE_CHANGED);
}

void COrlinDlg::ToggleHighQuality() {
    m_stSettings.bHighQuality = !m_stSettings.bHighQuality;
    CopyPlaySettings();
}

void COrlinDlg::ToggleIvs() {
    m_bIvsOn = !m_bIvsOn;
    m_pDlgShow->SetDrawMode(!m_bIvsOn);
}

void COrlinDlg::ApplyPlayerSettings() {
    // The stored volume is applied with sound on, which ends a mute.
    SetSoundOn(true);
    CopyPlaySettings();
}

void COrlinDlg::CopyPlaySettings() {
    DlgShowPlaySettings st;
    st.bHighQuality = m_stSettings.bHighQuality;
    st.bDeflash = m_stSettings.bDeflash;
    st.nPriority = m_stSettings.nPriority;
    st.nThrowB = m_stSettings.nThrowB;
    st.nTimerType = m_stSettings.nPlayerTimerPrecision;
    st.nDisplayType = m_stSettings.nResolution;
    st.bSoundOn = m_bSoundOn;
    st.nSpeedLevel = m_nSpeedLevel;
    m_pDlgShow->SetPlaySettings(st);
    m_pDlgShow->ApplySettings();
}

void COrlinDlg::OpenCutPanel() {
    const PlayState eState = SelState();
    if (eState == PLAY_STATE_IDLE || eState == PLAY_STATE_STOPPED) return;
    if (m_pDlgShow->IsSyncMode()) {
        ShowText(this, "IDS_PlaySetDlg_UnSupportInSyncMode", "Unsupported in synchronous mode!");
        return;
    }
    if (m_pDlgShow->GetLayout() != 1 && !m_pDlgShow->IsEnlarged()) {
        ShowText(this, "IDS_MainWnd_PleaseMaxPlayWnd", "Please maximize the play window!");
        return;
    }
    const CPlayWnd* pSel = m_pDlgShow->GetSelPlayWnd();
    if (pSel == nullptr || !pSel->IsFileRefDone()) {
        ShowFileRefNotDone(this);
        return;
    }
    if (eState == PLAY_STATE_PLAYING) PlayOrPause();
    m_pDlgShow->GoToStart();
    delete m_pCutPanel;
    m_pCutPanel = new CFileCutDlg(this, this);
    m_pCutPanel->show();
    m_pCutPanel->OpenFile(pSel->GetFilePath());
    m_pCutPanel->PlaceOnParent();
    m_bCutPanelShown = true;
}

void COrlinDlg::CutPanelPlayPause() { PlayOrPause(); }

CFileCutDlg* COrlinDlg::GetCutPanel() const { return m_pCutPanel; }

void COrlinDlg::MergeFiles() {
    const QString strLib = QStringLiteral("libkelsa.so");
    if (!LoadSideLibrary(strLib)) {
        OrlinMessageBox(this, NeedLibraryText(strLib));
        return;
    }
    CFileMergeDlg dlg(this, SideLibraryModule(strLib));
    dlg.exec();
}

void COrlinDlg::ConvertFiles() {
    const QString strMissing =
        FirstMissingLibrary({QStringLiteral("libtrovan.so"), QStringLiteral("libumbrel.so"),
                             QStringLiteral("libpeskin.so")},
                            LoadSideLibrary);
    if (!strMissing.isEmpty()) {
        OrlinMessageBox(this, NeedLibraryText(strMissing));
        return;
    }
    CConvertDlg dlg(this, SideLibraryModule(QStringLiteral("libtrovan.so")));
    dlg.exec();
}

void COrlinDlg::VideoEnhance() {
    if (!EnhanceLibraryIn(EngineFolder())) {
        OrlinMessageBox(this, NeedLibraryText(QString::fromLatin1(ENHANCE_LIBRARY)));
        return;
    }
    m_pVideoEnhance->show();
    m_pVideoEnhance->raise();
    RefreshPlayState();
}

MenuRuleInput COrlinDlg::MenuState() const {
    MenuRuleInput in;
    in.nState = SelState();
    in.bSync = m_pDlgShow != nullptr && m_pDlgShow->IsSyncMode();
    in.nLayout = m_pDlgShow != nullptr ? m_pDlgShow->GetLayout() : 1;
    in.nTopMostMode = m_nTopMostMode;
    in.bHighQuality = m_stSettings.bHighQuality;
    in.bSoundOn = m_bSoundOn;
    const CPlayWnd* pSel = m_pDlgShow != nullptr ? m_pDlgShow->GetSelPlayWnd() : nullptr;
    in.bConCapturing = pSel != nullptr && pSel->IsConCapturing();
    in.bBackPlay = pSel != nullptr && pSel->IsBackPlay();
    in.nPlayOrder = m_ePlayOrder;
    in.bIvsOn = m_bIvsOn;
    in.bFullScreen = m_bFullScreen;
    in.nLanguage = m_stSettings.nLanguage;
    in.bEnhanceShown = m_pVideoEnhance != nullptr && m_pVideoEnhance->isVisible();
    return in;
}
