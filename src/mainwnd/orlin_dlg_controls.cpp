// The main window's controls: creating them, placing them by the layout
// arithmetic of main_layout.h, and their tooltips.

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QResizeEvent>

#include "controls/bitmap_slider.h"
#include "controls/my_static.h"
#include "controls/skin_button.h"
#include "controls/skin_picture.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/ih_list_box.h"
#include "mainwnd/main_menus.h"
#include "mainwnd/orlin_dlg.h"
#include "mainwnd/playlist_controller.h"
#include "mainwnd/progress_math.h"
#include "mainwnd/splitter_bar.h"
#include "playback/dlg_show.h"
#include "playback/lang_text.h"
#include "playback/play_wnd.h"
#include "playback/sync_locate_dlg.h"

namespace {
const QColor kClientBackground(150, 150, 150);
const QColor kBarText(192, 192, 192);
const QColor kPlaylistBackground(80, 80, 80);
constexpr int kStatusFontHeight = 12;

CMyStatic* MakeStatic(QWidget* pParent, int nId, const char* szPicture) {
    auto* pStatic = new CMyStatic(pParent);
    pStatic->setObjectName(QStringLiteral("static%1").arg(nId));
    pStatic->SetBitmap(QString::fromUtf8(szPicture));
    pStatic->SetTextColor(kBarText);
    pStatic->SetFontHeight(kStatusFontHeight);
    pStatic->SetArialFace(true);
    pStatic->SetText(QString());
    return pStatic;
}
}  // namespace

CSkinButton* COrlinDlg::AddButton(int nId, const char* szSkin) {
    auto* pButton = new CSkinButton(m_pClient);
    pButton->setObjectName(QStringLiteral("button%1").arg(nId));
    if (*szSkin != '\0') pButton->SetSkin(QString::fromUtf8(szSkin), QString());
    connect(pButton, &CSkinButton::clicked, this, [this, nId] { OnControl(nId); });
    m_buttons[nId] = pButton;
    return pButton;
}

void COrlinDlg::CreateControls() {
    m_pClient = new QWidget(this);
    m_pClient->setObjectName(QStringLiteral("client"));
    QPalette pal = m_pClient->palette();
    pal.setColor(QPalette::Window, kClientBackground);
    m_pClient->setPalette(pal);
    m_pClient->setAutoFillBackground(true);
    m_pClient->installEventFilter(this);

    m_pTopBar = MakeStatic(m_pClient, IDC_PANE_BAR, "pane_bar");
    m_pPlaylistBar = MakeStatic(m_pClient, IDC_PLAYLIST_BAR, "pane_bar");
    m_pPlaylistTitle = new QLabel(m_pClient);
    QPalette titlePal = m_pPlaylistTitle->palette();
    titlePal.setColor(QPalette::WindowText, kBarText);
    m_pPlaylistTitle->setPalette(titlePal);
    m_pControlBar = MakeStatic(m_pClient, IDC_CONTROL_BAR, "control_bar");
    auto* pStatus = MakeStatic(m_pClient, IDC_STATUS, "status_bar");
    auto* pLeft = MakeStatic(m_pClient, IDC_LEFT_TIME, "status_bar");
    auto* pRight = MakeStatic(m_pClient, IDC_RIGHT_TIME, "status_bar");
    pLeft->SetAlignment(Qt::AlignLeft);
    pRight->SetAlignment(Qt::AlignRight);
    m_pStatus = pStatus;
    m_pLeftTime = pLeft;
    m_pRightTime = pRight;

    auto* pLogo = new QLabel(m_pClient);
    pLogo->setPixmap(SkinPicture(QStringLiteral("logo")));
    pLogo->setAlignment(Qt::AlignCenter);
    m_pLogo = pLogo;

    // The playlist list box belongs to the playlist; it sits in the client area
    // and draws light grey text on dark grey.
    QWidget* pList = m_pPlaylist->GetListBox();
    pList->setParent(m_pClient);
    QPalette listPal = pList->palette();
    listPal.setColor(QPalette::Base, kPlaylistBackground);
    listPal.setColor(QPalette::Window, kPlaylistBackground);
    listPal.setColor(QPalette::Text, kBarText);
    pList->setPalette(listPal);

    AddButton(IDC_PLAYLIST_ADD, "playlist_add");
    AddButton(IDC_PLAYLIST_DELETE, "playlist_delete");
    AddButton(IDC_PLAYLIST_CLEAR, "playlist_clear");
    AddButton(IDC_PLAY_ORDER, "play_order");
    AddButton(IDC_PLAYLIST_HIDE, "playlist_hide");
    AddButton(IDC_PLAY_PAUSE, "play");
    AddButton(IDC_STOP, "stop");
    AddButton(IDC_GOTO_START, "goto_start");
    AddButton(IDC_GOTO_END, "goto_end");
    AddButton(IDC_FRAME_FORWARD, "frame_forward");
    AddButton(IDC_FRAME_BACK, "frame_back");
    AddButton(IDC_SPEED_UP, "speed_up");
    AddButton(IDC_SPEED_DOWN, "speed_down");
    AddButton(IDC_REVERSE, "reverse");
    AddButton(IDC_CAPTURE, "capture");
    AddButton(IDC_SYNC, "sync");
    AddButton(IDC_SOUND, "sound");
    // The language toggle is hidden by every layout; its pictures follow the language.
    AddButton(IDC_LANGUAGE, "")->hide();
    AddButton(IDC_OPEN, "open");
    AddButton(IDC_PLAYLIST_TOGGLE, "playlist");
    AddButton(IDC_TOOLBOX, "toolbox");

    m_pProgress = new CBitmapSlider(IDC_PROGRESS, m_pClient);
    m_pProgress->SetChannelPieces(SkinPicture(QStringLiteral("progress_channel_left")),
                                  SkinPicture(QStringLiteral("progress_channel_middle")),
                                  SkinPicture(QStringLiteral("progress_channel_right")),
                                  SkinPicture(QStringLiteral("progress_channel_active_piece")));
    m_pProgress->SetBitmapThumb(QStringLiteral("progress_thumb"),
                                QStringLiteral("progress_thumb_active"));
    m_pProgress->SetRange(0, 0);
    // The sliders sit in the client area; their moves are the main window's.
    m_pProgress->SetNotifyReceiver(this);
    m_pVolume = new CBitmapSlider(IDC_VOLUME, m_pClient);
    m_pVolume->SetBitmapChannel(QStringLiteral("volume_channel"),
                                QStringLiteral("volume_channel_active"));
    m_pVolume->SetBitmapThumb(QStringLiteral("volume_thumb"),
                              QStringLiteral("volume_thumb_active"));
    m_pVolume->SetRange(0, VOLUME_MAX);
    m_pVolume->SetPageSize(VOLUME_MAX / 10);
    m_pVolume->SetPos(m_nVolume);
    m_pVolume->SetNotifyReceiver(this);

    m_pSplitter = new CSplitterBar(
        m_pClient, [this](int nDx, bool bFinished) { DragSplitter(nDx, bFinished); });

    m_pMenus = new CMainMenus(
        this, [this](int nId) { OnCommand(nId); }, [this] { return MenuState(); });
}

QWidget* COrlinDlg::GetControl(int nId) const {
    switch (nId) {
        case IDC_PANE_BAR:
            return m_pTopBar;
        case IDC_PLAYLIST_BAR:
            return m_pPlaylistBar;
        case IDC_PLAYLIST_TITLE:
            return m_pPlaylistTitle;
        case IDC_PLAYLIST:
            return m_pPlaylist->GetListBox();
        case IDC_CONTROL_BAR:
            return m_pControlBar;
        case IDC_STATUS:
            return m_pStatus;
        case IDC_LEFT_TIME:
            return m_pLeftTime;
        case IDC_RIGHT_TIME:
            return m_pRightTime;
        case IDC_LOGO:
            return m_pLogo;
        case IDC_SPLITTER:
            return m_pSplitter;
        case IDC_PROGRESS:
            return m_pProgress;
        case IDC_VOLUME:
            return m_pVolume;
        case IDC_PANE_AREA:
            return m_pDlgShow;
        case IDC_SYNC_RULER:
            return m_pSyncLocate;
        default:
            return GetButton(nId);
    }
}

CSkinButton* COrlinDlg::GetButton(int nId) const {
    auto it = m_buttons.find(nId);
    return it == m_buttons.end() ? nullptr : it->second;
}

MainLayoutInput COrlinDlg::LayoutInput() const {
    MainLayoutInput in;
    in.nWidth = m_pClient->width();
    in.nHeight = m_pClient->height();
    in.nPlaylistWidth = m_nPlaylistWidth;
    in.bPlaylistShown = m_bPlaylistVisible;
    in.bSyncRuler = m_bSyncRulerShown && IsSyncMode();
    return in;
}

void COrlinDlg::LayoutControls() {
    const MainLayoutInput in = LayoutInput();
    const MainLayout layout = ComputeMainLayout(in);
    for (const auto& [nId, place] : layout) {
        if (nId == IDC_SPLITTER) continue;
        QWidget* pControl = GetControl(nId);
        if (pControl == nullptr) continue;
        pControl->setGeometry(place.rect);
        // The pane area is shown once the container exists (start-up order).
        if (nId != IDC_PANE_AREA) pControl->setVisible(place.bVisible);
    }
    const QRect line = layout.at(IDC_SPLITTER).rect;
    if (in.bPlaylistShown) {
        m_pSplitter->Place(SplitterHotZone(in), line.width());
    } else {
        m_pSplitter->Place(line, line.width());
    }
    SetPlaylistTitle();
    m_pSplitter->SetActive(in.bPlaylistShown);
    m_pSplitter->raise();
    // The logo stands in for the pane area while that is hidden.
    m_pLogo->setVisible(m_pDlgShow == nullptr || !m_pDlgShow->isVisible());
    if (m_pDlgShow != nullptr && m_pDlgShow->isVisible()) m_pLogo->lower();
    PlaceFloatPanel();
    ReloadToolTips();
    update();
}

void COrlinDlg::DragSplitter(int nDx, bool bFinished) {
    if (!m_bPlaylistVisible) return;
    if (!m_bSplitterDragging) {
        m_bSplitterDragging = true;
        m_nSplitterStartWidth = m_nPlaylistWidth;
    }
    m_nPlaylistWidth = DraggedPlaylistWidth(m_nSplitterStartWidth, nDx);
    if (bFinished) {
        m_bSplitterDragging = false;
        LayoutControls();
        return;
    }
    // During the drag only the line follows; the rest is placed on release.
    const MainLayoutInput in = LayoutInput();
    m_pSplitter->Place(SplitterHotZone(in), 3);
    PlaceFloatPanel();
}

void COrlinDlg::ReloadToolTips() {
    auto tip = [this](int nId, const char* szKey, const char* szDefault) {
        if (CSkinButton* pButton = GetButton(nId)) {
            pButton->SetToolTipText(LangText(szKey, szDefault));
        }
    };
    tip(IDC_PLAYLIST_ADD, "IDS_MainWnd_AddFileToPlaylist", "Add File to Playlist");
    tip(IDC_PLAYLIST_DELETE, "IDS_MainWnd_DelFileInPlaylist", "Delete the Selected File");
    tip(IDC_PLAYLIST_CLEAR, "IDS_MainWnd_ClearPlaylist", "Clear up the Playlist");
    tip(IDC_PLAY_ORDER, "IDS_MainWnd_PlayMode", "Play Mode");
    tip(IDC_PLAYLIST_HIDE, "IDS_MainWnd_HidePlaylist", "Hide Playlist");
    if (SelState() == PLAY_STATE_PLAYING) {
        tip(IDC_PLAY_PAUSE, "IDS_Global_Pause", "Pause");
    } else {
        tip(IDC_PLAY_PAUSE, "IDS_Global_Play", "Play");
    }
    tip(IDC_STOP, "IDS_Global_Stop", "Stop");
    tip(IDC_GOTO_START, "IDS_Global_GotoStart", "Go to Start");
    tip(IDC_GOTO_END, "IDS_Global_GotoEnd", "Go to End");
    tip(IDC_FRAME_FORWARD, "IDS_Global_NextFrame", "Frame Forward");
    tip(IDC_FRAME_BACK, "IDS_Global_LastFrame", "Frame Backward");
    tip(IDC_SPEED_UP, "IDS_Global_SpeedUp", "Speed Up");
    tip(IDC_SPEED_DOWN, "IDS_Global_SpeedDown", "Speed Down");
    const CPlayWnd* pSel = m_pDlgShow != nullptr ? m_pDlgShow->GetSelPlayWnd() : nullptr;
    if (pSel != nullptr && pSel->IsBackPlay()) {
        tip(IDC_REVERSE, "IDS_MainWnd_CancelBackPlay", "Disable Reverse Play");
    } else {
        tip(IDC_REVERSE, "IDS_MainWnd_StartBackPlay", "Enable Reverse Play");
    }
    tip(IDC_CAPTURE, "IDS_Global_Capture", "Capture");
    if (m_pDlgShow != nullptr && m_pDlgShow->IsSyncMode()) {
        tip(IDC_SYNC, "IDS_MainWnd_SyncModeOff", "Synchronous Mode Off");
    } else {
        tip(IDC_SYNC, "IDS_MainWnd_SyncModeOn", "Synchronous Mode On");
    }
    if (m_bSoundOn) {
        tip(IDC_SOUND, "IDS_MainWnd_MuteOn", "Mute On");
    } else {
        tip(IDC_SOUND, "IDS_MainWnd_MuteOff", "Mute Off");
    }
    tip(IDC_LANGUAGE, "IDS_MainWnd_Language", "Language");
    tip(IDC_OPEN, "IDS_MainWnd_AddFiles", "Add Files");
    if (m_bPlaylistVisible) {
        tip(IDC_PLAYLIST_TOGGLE, "IDS_MainWnd_HidePlaylist", "Hide Playlist");
    } else {
        tip(IDC_PLAYLIST_TOGGLE, "IDS_MainWnd_ShowPlaylist", "Show Playlist");
    }
    tip(IDC_TOOLBOX, "IDS_Global_ToolBox", "Toolbox");
    m_pVolume->setToolTip(VolumeTipText(m_pVolume->GetPos()));
}

void COrlinDlg::SetPlaylistTitle() {
    // A title longer than its room ends in an ellipsis and shows in full as a tooltip.
    const QString strTitle = LangText("IDS_Global_Playlist", "Playlist");
    const QString strShown = m_pPlaylistTitle->fontMetrics().elidedText(strTitle, Qt::ElideRight,
                                                                        m_pPlaylistTitle->width());
    m_pPlaylistTitle->setText(strShown);
    m_pPlaylistTitle->setToolTip(strShown == strTitle ? QString() : strTitle);
}

void COrlinDlg::UpdateMinimumSize() {
    const bool bPlaying = IsPlayable();
    const int32_t nLayout = m_pDlgShow != nullptr ? m_pDlgShow->GetLayout() : 1;
    setMinimumSize(MinimumWindowSize(nLayout, bPlaying));
}

bool COrlinDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::KeyPress &&
        FilterKeyPress(pWatched, static_cast<QKeyEvent*>(pEvent))) {
        return true;
    }
    if (pWatched == m_pClient && pEvent->type() == QEvent::Resize) {
        // Only a real change of the client size lays out again.
        const QSize size = static_cast<QResizeEvent*>(pEvent)->size();
        if (size != m_lastClientSize) {
            m_lastClientSize = size;
            LayoutControls();
        }
    } else if (pWatched == m_pDlgShow && pEvent->type() == QEvent::ContextMenu) {
        m_pMenus->Popup(MenuKind::Context, static_cast<QContextMenuEvent*>(pEvent)->globalPos());
        return true;
    }
    return QDialog::eventFilter(pWatched, pEvent);
}
