#include "mainwnd/orlin_dlg.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPalette>

#include "lang/language_parser.h"
#include "mainwnd/about_dlg.h"
#include "mainwnd/ih_list_box.h"
#include "mainwnd/play_order.h"
#include "mainwnd/play_order_menu.h"
#include "mainwnd/playlist_controller.h"
#include "playback/dlg_show.h"
#include "playback/engine_api.h"
#include "playback/key_message_event.h"
#include "playback/orlin_messages.h"
#include "playback/play_wnd.h"

namespace {
const QColor kClientBackground(150, 150, 150);
const QColor kBarColour(60, 60, 60);
const QColor kBarText(192, 192, 192);
constexpr int kBottomStrip = 20;  // status line height outside synchronous mode

QLabel* MakeStatusLabel(QWidget* pParent, int nId) {
    auto* pLabel = new QLabel(pParent);
    pLabel->setObjectName(QStringLiteral("static%1").arg(nId));
    QPalette pal = pLabel->palette();
    pal.setColor(QPalette::Window, kBarColour);
    pal.setColor(QPalette::WindowText, kBarText);
    pLabel->setPalette(pal);
    pLabel->setAutoFillBackground(true);
    pLabel->setContentsMargins(4, 0, 4, 0);
    return pLabel;
}

QWidget* MakeBar(QWidget* pParent, int nId) {
    auto* pBar = new QWidget(pParent);
    pBar->setObjectName(QStringLiteral("static%1").arg(nId));
    QPalette pal = pBar->palette();
    pal.setColor(QPalette::Window, kBarColour);
    pBar->setPalette(pal);
    pBar->setAutoFillBackground(true);
    return pBar;
}
}  // namespace

COrlinDlg::COrlinDlg(QWidget* pParent) : QDialog(pParent) {
    // Every message box and the window caption carry this name.
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Orlin"));
    setWindowTitle(QStringLiteral("Orlin"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kClientBackground);
    setPalette(pal);
    setAutoFillBackground(true);
    setMinimumSize(START_WIDTH, START_HEIGHT);

    m_pTopBar = MakeBar(this, 1063);
    m_pControlBar = MakeBar(this, 1077);
    m_pStatus = MakeStatusLabel(this, 1092);
    m_pLeftTime = MakeStatusLabel(this, 1095);
    m_pRightTime = MakeStatusLabel(this, 1096);
    m_pRightTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // The About box is reached from the caption's context menu.
    auto* pAbout = new QAction(QString::fromUtf8("关于 Orlin(&A)..."), m_pTopBar);
    connect(pAbout, &QAction::triggered, this, &COrlinDlg::ShowAboutBox);
    m_pTopBar->addAction(pAbout);
    m_pTopBar->setContextMenuPolicy(Qt::ActionsContextMenu);

    m_pPlaylist = new CPlaylistController(this);

    m_timer2.setInterval(TIMER2_MS);
    connect(&m_timer2, &QTimer::timeout, this, &COrlinDlg::OnTimer2);
}

COrlinDlg::~COrlinDlg() { OnDestroy(); }

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
}

void COrlinDlg::ShowPlayOrderMenu(QPoint ptScreen) {
    const bool bSync = m_pDlgShow != nullptr && m_pDlgShow->IsSyncMode();
    QMenu* pMenu = CreatePlayOrderMenu(this, m_ePlayOrder, bSync);
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
    m_pDlgShow->OpenAndPlay(strPath);
    if (m_bSoundOn) {
        m_pDlgShow->SetVolume(m_nVolume, true);
    } else {
        m_pDlgShow->SetVolume(0, false);
    }
    if (CPlayWnd* pSel = m_pDlgShow->GetSelPlayWnd(); pSel != nullptr && pSel->GetPort() >= 0) {
        Engine().SetColor(pSel->GetPort(), 0, m_nBrightness, m_nContrast, m_nSaturation, m_nHue);
    }
    return true;
}

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
        RefreshPlayState();
        return true;
    }
    if (pEvent->type() == ORLIN_MSG_KEY_PRESSED) {
        // Keys from the panes wait for the hot-key dispatcher; only the newest counts.
        QCoreApplication::removePostedEvents(this, ORLIN_MSG_KEY_PRESSED);
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
    LayoutControls();
}

void COrlinDlg::LayoutControls() {
    const int W = width();
    const int H = height();
    const int B = kBottomStrip;
    m_pTopBar->setGeometry(1, 1, W - 2, 26);
    m_pControlBar->setGeometry(0, H - B - 64, W, 64);
    m_pStatus->setGeometry(0, H - 20, 100, 20);
    m_pLeftTime->setGeometry(100, H - 20, W - 300, 20);
    m_pRightTime->setGeometry(W - 200, H - 20, 200, 20);
    const int P = m_nPlaylistWidth;
    CIHListBox* pList = m_pPlaylist->GetListBox();
    pList->setVisible(m_bPlaylistVisible);
    if (m_bPlaylistVisible) pList->setGeometry(W - P - 1, 25, P, H - B - 90);
    if (m_pDlgShow != nullptr) {
        if (m_bPlaylistVisible) {
            m_pDlgShow->setGeometry(1, 27, W - P - 5, H - B - 92);
        } else {
            m_pDlgShow->setGeometry(2, 27, W - 5, H - B - 92);
        }
    }
}

void COrlinDlg::ReloadStatusTexts() {
    auto text = [](const char* szKey, const char* szDefault) {
        QString strText;
        CLanguageParser::FindString(szKey, strText, QString::fromUtf8(szDefault));
        return strText;
    };
    m_strReady = text("IDS_MainWnd_Ready", "Ready");
    m_strPlaying = text("IDS_MainWnd_Play", "Playing");
    m_strSpeedUp = text("IDS_MainWnd_SpeedUp", "Speed * %d");
    m_strSpeedDown = text("IDS_MainWnd_SpeedDown", "Speed / %d");
    m_strPause = text("IDS_Global_Pause", "Pause");
    m_strStop = text("IDS_Global_Stop", "Stop");
}

void COrlinDlg::RefreshPlayState() {
    ReloadStatusTexts();
    const PlayState eState = m_pDlgShow != nullptr ? m_pDlgShow->GetSelState() : PLAY_STATE_IDLE;
    QString strStatus;
    switch (eState) {
        case PLAY_STATE_PLAYING:
            if (m_nSpeedLevel > 0) {
                strStatus = QString(m_strSpeedUp)
                                .replace(QLatin1String("%d"), QString::number(1 << m_nSpeedLevel));
            } else if (m_nSpeedLevel < 0) {
                strStatus = QString(m_strSpeedDown)
                                .replace(QLatin1String("%d"), QString::number(1 << -m_nSpeedLevel));
            } else {
                strStatus = m_strPlaying;
            }
            break;
        case PLAY_STATE_PAUSED:
            strStatus = m_strPause;
            break;
        case PLAY_STATE_STOPPED:
            strStatus = m_strStop;
            break;
        default:
            strStatus = m_strReady;
            break;
    }
    m_pStatus->setText(strStatus);
    if (eState == PLAY_STATE_IDLE) {
        m_pLeftTime->clear();
        m_pRightTime->clear();
    } else if (eState == PLAY_STATE_STOPPED) {
        m_pRightTime->clear();
    }
}

void COrlinDlg::OnTimer2() {
    const PlayState eState = m_pDlgShow != nullptr ? m_pDlgShow->GetSelState() : PLAY_STATE_IDLE;
    if (eState != PLAY_STATE_PLAYING && eState != PLAY_STATE_PAUSED) return;
    const CPlayWnd* pSel = m_pDlgShow->GetSelPlayWnd();
    if (pSel == nullptr || pSel->GetPort() < 0 || m_pDlgShow->IsSyncMode()) return;
    const int32_t lPort = pSel->GetPort();
    const uint32_t nTotal = Engine().GetFileTotalFrames(lPort);
    const uint32_t nFileTime = Engine().GetFileTime(lPort);
    uint32_t nPlayed = Engine().GetPlayedTime(lPort);
    uint32_t nFrame = Engine().GetCurrentFrameNum(lPort);
    if (nTotal == 0) nPlayed = nFrame = 0;
    if (nFrame == UINT32_MAX) nFrame = nPlayed = 0;
    m_pLeftTime->setText(pSel->GetFilePath());
    m_pRightTime->setText(QString::asprintf(
        "%u/%u  %02u:%02u:%02u/%02u:%02u:%02u", nFrame, nTotal, nPlayed / 3600, nPlayed % 3600 / 60,
        nPlayed % 60, nFileTime / 3600, nFileTime % 3600 / 60, nFileTime % 60));
}

QString COrlinDlg::GetStatusText() const { return m_pStatus->text(); }

QString COrlinDlg::GetTimeText() const { return m_pRightTime->text(); }
