#include "tools/cut/file_cut_dlg.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "controls/orlin_message_box.h"
#include "controls/skin_button.h"
#include "controls/skin_picture.h"
#include "playback/dlg_show.h"
#include "playback/lang_text.h"
#include "playback/play_wnd.h"
#include "tools/cut/cut_panel_owner.h"
#include "tools/cut/cut_precent_dlg.h"

namespace {

const QColor kPanelGrey(192, 192, 192);
const QColor kBandDark(60, 60, 60);

void SetColours(QWidget* pWidget, const QColor& text, const QColor& background) {
    QPalette palette = pWidget->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    pWidget->setPalette(palette);
    pWidget->setAutoFillBackground(true);
}

QString ChooseOutputWithDialog(QWidget* pParent, const QString& strInitial) {
    QFileDialog dialog(pParent, QString(), strInitial, QStringLiteral("Media Files (*.mp4)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("mp4"));
    dialog.selectFile(strInitial);
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.selectedFiles().value(0);
}

}  // namespace

CFileCutDlg::CFileCutDlg(ICutPanelOwner* pOwner, QWidget* pParent)
    : QWidget(pParent),
      m_pOwner(pOwner),
      m_strOutputPath(QDir::homePath() + QStringLiteral("/Clip.mp4")),
      m_chooseOutput(ChooseOutputWithDialog),
      m_runJob(RunCutJob) {
    setObjectName(QStringLiteral("296"));
    SetColours(this, Qt::black, kPanelGrey);
    setMouseTracking(true);
    m_previewTimer.setInterval(PREVIEW_TIMER_MS);
    connect(&m_previewTimer, &QTimer::timeout, this, &CFileCutDlg::OnPreviewTick);
    m_pProgressDlg = new CCutPrecentDlg(this);
    m_pProgressDlg->hide();
    CreateControls();
    ReloadTexts();
    if (pParent != nullptr) pParent->installEventFilter(this);
    ShowTimes();
    LayoutControls();
}

CFileCutDlg::~CFileCutDlg() {
    StopCutThread();
    CloseSource();
}

void CFileCutDlg::CreateControls() {
    const auto add = [this](int nId, auto* pControl) {
        pControl->setObjectName(QString::number(nId));
        if (nId > 0) m_controls[nId] = pControl;
        return pControl;
    };
    m_pTitle = add(-1, new QLabel(this));
    SetColours(m_pTitle, kPanelGrey, kBandDark);
    m_pTitle->setIndent(4);
    m_pClose = add(1136, new CSkinButton(this));
    connect(m_pClose, &CSkinButton::clicked, this, &CFileCutDlg::ClosePanel);
    m_pPreview = add(1137, new QPushButton(this));
    connect(m_pPreview, &QPushButton::clicked, this, &CFileCutDlg::Preview);
    m_pCut = add(1138, new QPushButton(this));
    connect(m_pCut, &QPushButton::clicked, this, &CFileCutDlg::CutFile);
    m_pBarRange = add(1140, new QWidget(this));
    SetColours(m_pBarRange, QColor(255, 0, 0), QColor(255, 255, 0));
    m_pBarBefore = add(1141, new QWidget(this));
    SetColours(m_pBarBefore, kPanelGrey, kBandDark);
    m_pBarAfter = add(1142, new QWidget(this));
    SetColours(m_pBarAfter, kPanelGrey, kBandDark);
    m_pStartMarker = add(1145, new QLabel(this));
    m_pStartMarker->setPixmap(SkinPicture(300));
    m_pEndMarker = add(1146, new QLabel(this));
    m_pEndMarker->setPixmap(SkinPicture(301));
    for (QLabel* pMarker : {m_pStartMarker, m_pEndMarker}) {
        // The panel itself hit-tests the markers, so presses reach it.
        pMarker->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_pStartField = add(1149, new QLineEdit(this));
    m_pEndField = add(1150, new QLineEdit(this));
    for (QLineEdit* pField : {m_pStartField, m_pEndField}) {
        pField->setReadOnly(true);
        pField->setAlignment(Qt::AlignCenter);
        pField->setFocusPolicy(Qt::NoFocus);
    }
    m_pElapsed = add(1151, new QLabel(this));
    m_pTrimming = add(1158, new QLabel(this));
    for (QLabel* pLabel : {m_pElapsed, m_pTrimming}) {
        SetColours(pLabel, Qt::black, kPanelGrey);
        pLabel->setAlignment(Qt::AlignCenter);
    }
    for (int nId : {1154, 1155, 1156, 1157}) {
        CSkinButton* pButton = add(nId, new CSkinButton(this));
        m_trimButtons[nId] = pButton;
        connect(pButton, &CSkinButton::clicked, this, [this, nId] { Trim(nId); });
    }
}

QWidget* CFileCutDlg::GetControl(int nId) const {
    const auto it = m_controls.find(nId);
    return it != m_controls.end() ? it->second : nullptr;
}

void CFileCutDlg::ReloadTexts() {
    m_texts.Load();
    m_pTitle->setText(LangText("IDS_FileCutDlg_FileCut", "Cut File"));
    m_pClose->SetSkin(180, 179, 178, LangText("IDS_Global_Close", "Close"));
    m_pPreview->setText(LangText("IDS_FileCutDlg_Preview", "Preview"));
    m_pCut->setText(LangText("IDS_Global_Cut", "Cut"));
    m_pTrimming->setText(LangText("IDS_FileCutDlg_Trimming", "Trimming"));
    const QString strEarlier = LangText("IDS_FileCutDlg_Forward", "Forward");
    const QString strLater = LangText("IDS_FileCutDlg_Back", "Back");
    for (const auto& [nId, pButton] : m_trimButtons) {
        const bool bEarlier = nId == 1154 || nId == 1156;
        const int nPicture = bEarlier ? 302 : 303;
        pButton->SetSkin(nPicture, nPicture, nPicture, bEarlier ? strEarlier : strLater);
    }
    m_pProgressDlg->ReloadTexts();
    LayoutControls();
}

void CFileCutDlg::PlaceOnParent() {
    if (QWidget* pParent = parentWidget()) setGeometry(CutPanelRect(pParent->rect()));
    raise();
}

bool CFileCutDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == parentWidget() && pEvent->type() == QEvent::Resize) PlaceOnParent();
    return QWidget::eventFilter(pWatched, pEvent);
}

void CFileCutDlg::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    LayoutControls();
}

void CFileCutDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kPanelGrey);
}

void CFileCutDlg::LayoutControls() {
    const int c = width() - 18;
    m_pTitle->setGeometry(0, 0, c, 18);
    m_pClose->setGeometry(c, 0, 18, 18);
    m_pPreview->setGeometry(c - 100, 60, 55, 20);
    m_pCut->setGeometry(c - 40, 60, 55, 20);
    m_trimButtons[1154]->setGeometry(20, 55, 18, 18);
    m_pStartField->setGeometry(45, 55, 52, 18);
    m_trimButtons[1155]->setGeometry(104, 55, 18, 18);
    m_pTrimming->setGeometry(122, 55, 48, 18);
    m_trimButtons[1156]->setGeometry(170, 55, 18, 18);
    m_pEndField->setGeometry(195, 55, 52, 18);
    m_trimButtons[1157]->setGeometry(254, 55, 18, 18);
    m_pElapsed->setGeometry(c - 250, 60, 100, 20);
    PlaceTrack(TimeToTrackX(m_times.nStart, width(), m_nTotal),
               TimeToTrackX(m_times.nEnd, width(), m_nTotal));
}

void CFileCutDlg::PlaceTrack(int xs, int xe) {
    m_xs = xs;
    m_xe = xe;
    const CutTrackRects rects = TrackRects(xs, xe, width());
    m_pBarBefore->setGeometry(rects.rcBefore);
    m_pBarRange->setGeometry(rects.rcRange);
    m_pBarAfter->setGeometry(rects.rcAfter);
    m_pStartMarker->setGeometry(rects.rcStartMarker);
    m_pEndMarker->setGeometry(rects.rcEndMarker);
}

bool CFileCutDlg::OpenFile(const QString& strPath) {
    CloseSource();
    m_strSourcePath = strPath;
    m_nSourceFd = ::open(QFile::encodeName(strPath).constData(), O_RDONLY | O_CLOEXEC);
    const CDlgShow* pPanes = m_pOwner != nullptr ? m_pOwner->CutPanelPanes() : nullptr;
    m_nTotal = pPanes != nullptr ? pPanes->GetSelFileTime() : 0;
    m_times = CutTimes{0, static_cast<int32_t>(m_nTotal)};
    m_nRangeLength = m_times.nEnd;
    m_nPreviewElapsed = 0;
    ShowTimes();
    LayoutControls();
    return m_nSourceFd >= 0;
}

void CFileCutDlg::CloseSource() {
    if (m_nSourceFd >= 0) ::close(m_nSourceFd);
    m_nSourceFd = -1;
}

void CFileCutDlg::ShowTimes() {
    m_pStartField->setText(FormatCutTime(m_times.nStart));
    m_pEndField->setText(FormatCutTime(m_times.nEnd));
    m_pElapsed->setText(CutElapsedText(m_nPreviewElapsed, m_nRangeLength));
}

CPlayWnd* CFileCutDlg::SelPane() const {
    const CDlgShow* pPanes = m_pOwner != nullptr ? m_pOwner->CutPanelPanes() : nullptr;
    return pPanes != nullptr ? pPanes->GetSelPlayWnd() : nullptr;
}

PlayState CFileCutDlg::SelState() const {
    const CDlgShow* pPanes = m_pOwner != nullptr ? m_pOwner->CutPanelPanes() : nullptr;
    return pPanes != nullptr ? pPanes->GetSelState() : PLAY_STATE_IDLE;
}

void CFileCutDlg::PauseIfPlaying() {
    if (SelState() == PLAY_STATE_PLAYING) m_pOwner->CutPanelPlayPause();
}

void CFileCutDlg::SeekPane(int32_t nSeconds) {
    if (CDlgShow* pPanes = m_pOwner != nullptr ? m_pOwner->CutPanelPanes() : nullptr) {
        pPanes->SetTimePos(static_cast<uint32_t>(nSeconds));
    }
}

void CFileCutDlg::AfterRangeChange() {
    m_nRangeLength = m_times.nEnd - m_times.nStart;
    m_nPreviewElapsed = 0;
    PauseIfPlaying();
    m_pElapsed->setText(CutElapsedText(0, m_nRangeLength));
    m_previewTimer.stop();
}

void CFileCutDlg::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) return;
    const QPoint pt = pEvent->position().toPoint();
    m_bDragStart = m_pStartMarker->geometry().contains(pt);
    m_bDragEnd = !m_bDragStart && m_pEndMarker->geometry().contains(pt);
    // While the button is held the panel keeps the mouse (Qt's implicit grab).
    if (m_bDragStart || m_bDragEnd) setCursor(Qt::PointingHandCursor);
}

void CFileCutDlg::mouseMoveEvent(QMouseEvent* pEvent) {
    if (!m_bDragStart && !m_bDragEnd) return;
    const int x = pEvent->position().toPoint().x();
    if (m_bDragStart) {
        PlaceTrack(DragStartMarker(&m_times, x, m_xs, m_xe, width(), m_nTotal), m_xe);
        SeekPane(m_times.nStart);
        ShowTimes();
    } else {
        PlaceTrack(m_xs, DragEndMarker(&m_times, x, m_xs, m_xe, width(), m_nTotal));
        ShowTimes();
        SeekPane(m_times.nEnd);
    }
    AfterRangeChange();
}

void CFileCutDlg::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton || (!m_bDragStart && !m_bDragEnd)) return;
    m_bDragStart = m_bDragEnd = false;
    unsetCursor();
}

void CFileCutDlg::Trim(int nButtonId) {
    if (!TrimCutTimes(&m_times, nButtonId, m_nTotal)) return;
    PlaceTrack(TimeToTrackX(m_times.nStart, width(), m_nTotal),
               TimeToTrackX(m_times.nEnd, width(), m_nTotal));
    const bool bStartMoved = nButtonId == 1154 || nButtonId == 1155;
    SeekPane(bStartMoved ? m_times.nStart : m_times.nEnd);
    ShowTimes();
    AfterRangeChange();
}

void CFileCutDlg::Preview() {
    if (m_times.nStart == m_times.nEnd) return;
    m_nRangeLength = m_times.nEnd - m_times.nStart;
    m_nPreviewElapsed = 0;
    if (SelState() == PLAY_STATE_PAUSED) m_pOwner->CutPanelPlayPause();
    SeekPane(m_times.nStart);
    m_previewTimer.start();
}

void CFileCutDlg::OnPreviewTick() {
    ++m_nPreviewElapsed;
    m_pElapsed->setText(CutElapsedText(m_nPreviewElapsed, m_nRangeLength));
    if (m_nPreviewElapsed >= m_nRangeLength) {
        PauseIfPlaying();
        m_previewTimer.stop();
    }
}

void CFileCutDlg::ClosePanel() {
    m_previewTimer.stop();
    PauseIfPlaying();
    StopCutThread();
    CloseSource();
    const PlayState eState = SelState();
    if (eState != PLAY_STATE_IDLE && eState != PLAY_STATE_STOPPED) {
        m_pOwner->CutPanelPanes()->GoToStart();
    }
    close();
}

void CFileCutDlg::closeEvent(QCloseEvent* pEvent) {
    m_previewTimer.stop();
    if (m_pOwner != nullptr) m_pOwner->CutPanelClosed();
    pEvent->accept();
}

void CFileCutDlg::ShowMessage(CutMessage eMessage) {
    if (eMessage != CutMessage::None) OrlinMessageBox(this, m_texts.Text(eMessage));
}
