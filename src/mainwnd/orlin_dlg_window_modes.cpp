// The main window's shapes: full screen, the four size modes that fit the
// window to the picture, the three top-most modes and the floating panel.

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "controls/skin_button.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/float_dlg.h"
#include "mainwnd/orlin_dlg.h"
#include "mainwnd/playlist_controller.h"
#include "mainwnd/window_mode_geometry.h"
#include "playback/dlg_show.h"
#include "playback/play_wnd.h"

namespace {
QRect ScreenOf(const QWidget* pWidget) {
    const QScreen* pScreen = pWidget->screen();
    if (pScreen == nullptr) pScreen = QGuiApplication::primaryScreen();
    return pScreen != nullptr ? pScreen->geometry() : QRect();
}
}  // namespace

void COrlinDlg::ToggleFullScreen() {
    if (m_pDlgShow == nullptr) return;
    m_bFullScreen = !m_bFullScreen;
    if (m_bFullScreen) {
        m_bSavedMaximized = isMaximized();
        m_rcSavedPlacement = m_bSavedMaximized ? normalGeometry() : geometry();
        const QRect rcPane(m_pDlgShow->mapToGlobal(QPoint(0, 0)), m_pDlgShow->size());
        const QRect rcWindow = geometry();
        const QRect rcFull =
            FullScreenWindowRect(rcWindow, rcPane, ScreenOf(this), m_nOsMajorVersion);
        if (isMaximized()) showNormal();
        setGeometry(rcFull);
        PlaceFloatPanel();
        RefreshFloatPanel();
        return;
    }
    if (m_bSavedMaximized) {
        setGeometry(m_rcSavedPlacement);
        showMaximized();
    } else {
        setGeometry(m_rcSavedPlacement);
    }
    PlaceFloatPanel();
    ShowNormalControls();
    LayoutControls();
    RefreshFloatPanel();
}

void COrlinDlg::SetWindowSizeMode(int32_t nMode) {
    if (m_pDlgShow == nullptr || m_pDlgShow->GetLayout() != 1 || !IsPlayable()) return;
    QSize picture(0, 0);
    if (CPlayWnd* pSel = m_pDlgShow->GetSelPlayWnd()) {
        int32_t nWidth = 0;
        int32_t nHeight = 0;
        if (pSel->GetImageSize(&nWidth, &nHeight)) picture = QSize(nWidth, nHeight);
    }
    const QSize scaled = SizeModePictureSize(nMode, picture);
    const QRect rcWindow = SizeModeWindowRect(scaled, m_nPlaylistWidth, ScreenOf(this));
    // Leaving full screen this way keeps the new size, not the saved placement.
    m_bFullScreen = false;
    m_nWindowSizeMode = nMode;
    if (isMaximized()) showNormal();
    setGeometry(rcWindow);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    ShowNormalControls();
    PlaceFloatPanel();
    RefreshFloatPanel();
}

void COrlinDlg::ShowNormalControls() {
    for (int nId : {IDC_PLAYLIST, IDC_PLAYLIST_ADD, IDC_PLAYLIST_DELETE, IDC_PLAYLIST_CLEAR,
                    IDC_PLAY_ORDER, IDC_PLAYLIST_HIDE, IDC_PLAYLIST_BAR, IDC_PLAYLIST_TITLE}) {
        if (QWidget* pControl = GetControl(nId)) pControl->setVisible(m_bPlaylistVisible);
    }
    for (int nId : {IDC_CONTROL_BAR, IDC_PROGRESS, IDC_PLAY_PAUSE, IDC_STOP, IDC_GOTO_START,
                    IDC_GOTO_END, IDC_FRAME_FORWARD, IDC_FRAME_BACK, IDC_SPEED_UP, IDC_SPEED_DOWN,
                    IDC_REVERSE, IDC_CAPTURE, IDC_SYNC, IDC_SOUND, IDC_VOLUME, IDC_STATUS,
                    IDC_LEFT_TIME, IDC_RIGHT_TIME, IDC_LANGUAGE}) {
        if (QWidget* pControl = GetControl(nId)) pControl->show();
    }
    const bool bWide = width() >= WIDE_BUTTONS_MIN_WIDTH;
    for (int nId : {IDC_OPEN, IDC_PLAYLIST_TOGGLE, IDC_TOOLBOX}) {
        if (QWidget* pControl = GetControl(nId)) pControl->setVisible(bWide);
    }
}

void COrlinDlg::SetTopMostMode(int32_t nMode) {
    m_nTopMostMode = nMode;
    ApplyTopMostMode();
    ReloadToolTips();
    RefreshFloatPanel();
}

void COrlinDlg::ApplyTopMostMode() {
    const bool bTop =
        m_nTopMostMode == 2 || (m_nTopMostMode == 1 && SelState() == PLAY_STATE_PLAYING);
    if (IsTopMost() == bTop) return;
    // The window system is told directly, so the window is neither hidden,
    // moved nor resized the way a change of the widget's flags would.
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, bTop);
    overrideWindowFlags(flags);
    if (QWindow* pWindow = windowHandle()) pWindow->setFlags(flags);
}

bool COrlinDlg::IsTopMost() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void COrlinDlg::PlaceFloatPanel() {
    if (m_pFloatDlg == nullptr || m_pDlgShow == nullptr) return;
    m_pFloatDlg->Place(m_pDlgShow->geometry(), m_bFullScreen);
}

void COrlinDlg::RefreshFloatPanel() {
    if (m_pFloatDlg == nullptr) return;
    FloatPanelState state;
    state.bFullScreen = m_bFullScreen;
    state.nTopMostMode = m_nTopMostMode;
    const CPlayWnd* pSel = m_pDlgShow != nullptr ? m_pDlgShow->GetSelPlayWnd() : nullptr;
    state.bPartZoom = pSel != nullptr && pSel->IsZoomOn();
    std::optional<VideoEnhanceParams> block = SelectedVieParams();
    state.nVieModules = block ? GetVieField(*block, VIE_FIELD_MODULES) : 0;
    m_pFloatDlg->Refresh(state);
}
