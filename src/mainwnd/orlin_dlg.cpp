#include "enhance/video_enhance_dlg.h"
#include "mainwnd/orlin_dlg.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QToolTip>

#include "controls/orlin_message_box.h"
#include "controls/slider_moved_event.h"
#include "lang/language_parser.h"
#include "mainwnd/about_dlg.h"
#include "mainwnd/ih_list_box.h"
#include "mainwnd/main_messages.h"
#include "mainwnd/play_order.h"
#include "mainwnd/play_order_menu.h"
#include "mainwnd/playlist_controller.h"
#include "playback/dlg_show.h"
#include "playback/engine_api.h"
#include "playback/key_message_event.h"
#include "playback/lang_text.h"
#include "playback/orlin_messages.h"
#include "playback/play_wnd.h"

COrlinDlg::COrlinDlg(QWidget* pParent) : QDialog(pParent) {
    // Every message box and the window caption carry this name.
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Orlin"));
    setWindowTitle(QStringLiteral("Orlin"));
    // The caption and the borders are drawn here (orlin_dlg_frame.cpp).
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint);
    setMouseTracking(true);
    setMinimumSize(START_WIDTH, START_HEIGHT);

    m_pPlaylist = new CPlaylistController(this);
    CreateControls();

    m_timer2.setInterval(TIMER2_MS);
    connect(&m_timer2, &QTimer::timeout, this, &COrlinDlg::OnTimer2);
    // Every key press of the window's controls passes the hot-key dispatcher first.
    QCoreApplication::instance()->installEventFilter(this);
}

COrlinDlg::~COrlinDlg() {
    QCoreApplication::instance()->removeEventFilter(this);
    OnDestroy();
}

int32_t COrlinDlg::PlaylistIndexOf(const QString& strPath) const {
    return m_pPlaylist->GetListBox()->IndexOfPath(strPath);
}

int32_t COrlinDlg::PlaylistCount() const { return m_pPlaylist->GetListBox()->GetCount(); }

QString COrlinDlg::PlaylistPath(int32_t nIndex) const {
    return m_pPlaylist->GetListBox()->GetPath(nIndex);
}

bool COrlinDlg::AddToPlaylist(const QString& strPath) {
    return m_pPlaylist->GetListBox()->AddPath(strPath);
}

void COrlinDlg::TogglePlaylist() {
    m_bPlaylistVisible = !m_bPlaylistVisible;
    LayoutControls();
    // Button 1089 names what it does next.
    ReloadToolTips();
}

void COrlinDlg::ShowPlayOrderMenu(QPoint ptScreen) {
    const bool bSync = m_pDlgShow != nullptr && m_pDlgShow->IsSyncMode();
    QMenu* pMenu = CreatePlayOrderMenu(this, m_ePlayOrder, bSync);
    QToolTip::hideText();
    const QAction* pChosen = pMenu->exec(ptScreen);
    PlayOrder eOrder;
    if (pChosen != nullptr && PlayOrderFromCommand(pChosen->data().toInt(), &eOrder)) {
        m_ePlayOrder = eOrder;
    }
    delete pMenu;
}

bool COrlinDlg::OpenInPane(const QString& strPath) {
    if (m_pDlgShow == nullptr || m_pDlgShow->IsSyncMode()) return false;
    m_pDlgShow->SetSyncMode(false);
    // The pane opens in the background; what needs the open file follows
    // the answer.
    m_pDlgShow->OpenAndPlay(strPath, [this, strPath](CPlayWnd* pPane) {
        if (pPane->GetPlayState() == PLAY_STATE_IDLE) {
            ShowFileProblem(strPath,
                            DescribeOpenFailure(strPath, Engine().GetLastError(pPane->GetPort())));
        }
        if (pPane == m_pDlgShow->GetSelPlayWnd()) {
            ApplySound();
        } else {
            pPane->ApplySoundRule();  // silent: only the selected pane sounds
        }
        m_pDlgShow->SetColour(m_nBrightness, m_nContrast, m_nSaturation, m_nHue);
    });
    ShowSyncRuler(false);
    return true;
}

void COrlinDlg::ShowMessage(const QString& strText) { OrlinMessageBox(this, strText); }

void COrlinDlg::ShowAboutBox() {
    CAboutDlg about(this);
    about.exec();
}

bool COrlinDlg::event(QEvent* pEvent) {
    if (pEvent->type() == ORLIN_MSG_PLAY_STATE_CHANGED) {
        QCoreApplication::removePostedEvents(this, ORLIN_MSG_PLAY_STATE_CHANGED);
        if (m_pDlgShow != nullptr) {
            const CPlayWnd* pPane =
                m_pDlgShow->IsSyncMode() ? m_pDlgShow->GetPlayWnd(0) : m_pDlgShow->GetSelPlayWnd();
            if (pPane != nullptr) m_nSpeedLevel = pPane->GetSpeedLevel();
        }
        // The message also reports a change of the selected pane.
        RefreshEnhancePanel();
        RefreshPlayState();
        return true;
    }
    if (pEvent->type() == QEvent::ToolTip) {
        // The caption's menu button is drawn by the frame, so it has no widget of its own.
        const auto* pHelp = static_cast<QHelpEvent*>(pEvent);
        if (CaptionButtonAt(width(), pHelp->pos()) == CaptionButton::Menu) {
            QToolTip::showText(pHelp->globalPos(), LangText("IDS_MainWnd_Menu", "Menu"), this,
                               CaptionButtonsFor(width()).menu);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    if (pEvent->type() == ORLIN_MSG_KEY_PRESSED) {
        // Keys the panes forward; further copies already queued are dropped.
        QCoreApplication::removePostedEvents(this, ORLIN_MSG_KEY_PRESSED);
        const auto* pKey = static_cast<CKeyMessageEvent*>(pEvent);
        OnKeyDown(pKey->Key(), pKey->Modifiers());
        return true;
    }
    if (pEvent->type() == ORLIN_MSG_SLIDER_MOVING) {
        const auto* pMoved = static_cast<SliderMovedEvent*>(pEvent);
        OnSliderMoved(pMoved->ControlId(), pMoved->Position());
        return true;
    }
    if (pEvent->type() == ORLIN_MSG_SLIDER_RELEASED) {
        // The thumb already moved (and the seek was made) on the moves before
        // the release; acting on it too would seek a second time.
        return true;
    }
    if (pEvent->type() == ORLIN_MSG_BAR_1069) {
        QCoreApplication::removePostedEvents(this, ORLIN_MSG_BAR_1069);
        return true;
    }
    if (pEvent->type() == ORLIN_MSG_ENHANCE_CLOSED) {
        QCoreApplication::removePostedEvents(this, ORLIN_MSG_ENHANCE_CLOSED);
        if (m_pVideoEnhance != nullptr) m_pVideoEnhance->hide();
        RefreshPlayState();
        return true;
    }
    return QDialog::event(pEvent);
}

void COrlinDlg::keyPressEvent(QKeyEvent* pEvent) {
    // Escape and Enter never end the dialog; keys are the hot-key dispatcher's.
    pEvent->accept();
}

void COrlinDlg::resizeEvent(QResizeEvent* pEvent) {
    QDialog::resizeEvent(pEvent);
    // The client area's own resize lays the controls out (eventFilter).
    if (!isMinimized()) m_pClient->setGeometry(ClientRectIn(size()));
}
