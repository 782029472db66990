#include "tools/merge/file_merge_dlg.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

#include "controls/orlin_message_box.h"
#include "controls/report_ctrl.h"
#include "lang/language_parser.h"
#include "tools/merge/merge_checks.h"
#include "tools/merge/merge_duration_probe.h"
#include "tools/merge/merge_work.h"

namespace {

constexpr int kDialogWidth = 560;
constexpr int kDialogHeight = 400;
constexpr int kBandTop = 360;
const QColor kBandColour(213, 234, 255);

QStringList PickMediaFiles(QWidget* pParent) {
    return QFileDialog::getOpenFileNames(pParent, QString(), QString(),
                                         QStringLiteral("Media File (*.mp4 *.264)"));
}

QString PickOutputFile(QWidget* pParent) {
    // The dialog asks before an existing file is replaced.
    QString strPath = QFileDialog::getSaveFileName(pParent, QString(), QStringLiteral("*.mp4"),
                                                   QStringLiteral("Movie Files (*.mp4)"));
    if (!strPath.isEmpty() && !strPath.endsWith(QStringLiteral(".mp4"), Qt::CaseInsensitive)) {
        strPath += QStringLiteral(".mp4");
    }
    return strPath;
}

QPushButton* MakeButton(QWidget* pParent, int nId, const QRect& rect) {
    auto* pButton = new QPushButton(pParent);
    pButton->setObjectName(QStringLiteral("button%1").arg(nId));
    pButton->setGeometry(rect);
    pButton->setAutoDefault(false);
    return pButton;
}

QLabel* MakeLabel(QWidget* pParent, int nId, const QRect& rect) {
    auto* pLabel = new QLabel(pParent);
    pLabel->setObjectName(QStringLiteral("static%1").arg(nId));
    pLabel->setGeometry(rect);
    QPalette palette = pLabel->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Window, Qt::white);
    pLabel->setPalette(palette);
    return pLabel;
}

}  // namespace

CFileMergeDlg::CFileMergeDlg(QWidget* pParent, void* pKelsaModule)
    : QDialog(pParent),
      m_kelsa(pKelsaModule),
      m_openPicker(PickMediaFiles),
      m_savePicker(PickOutputFile) {
    setModal(true);
    setFixedSize(kDialogWidth, kDialogHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    CreateControls();
    LoadTexts();
}

CFileMergeDlg::~CFileMergeDlg() { StopMerge(); }

QString CFileMergeDlg::Text(const char* szKey, const char* szDefault) const {
    QString strText;
    CLanguageParser::FindString(szKey, strText, QString::fromUtf8(szDefault));
    return strText;
}

void CFileMergeDlg::CreateControls() {
    m_pAdd = MakeButton(this, IDC_ADD_FILE, QRect(20, 14, 100, 26));
    m_pDel = MakeButton(this, IDC_DEL_FILE, QRect(130, 14, 100, 26));
    m_pList = new CReportCtrl(this);
    m_pList->setObjectName(QStringLiteral("list%1").arg(IDC_FILE_LIST));
    m_pList->setGeometry(20, 50, 520, 200);
    m_pGroup = MakeLabel(this, IDC_OUTPUT_GROUP, QRect(20, 262, 240, 20));
    m_pOutputLabel = MakeLabel(this, IDC_OUTPUT_LABEL, QRect(20, 292, 70, 22));
    m_pOutputPath = new QLineEdit(this);
    m_pOutputPath->setObjectName(QStringLiteral("edit%1").arg(IDC_OUTPUT_PATH));
    m_pOutputPath->setGeometry(95, 292, 340, 24);
    m_pOutputPath->setReadOnly(true);
    m_pBrowse = MakeButton(this, IDC_BROWSE, QRect(445, 291, 95, 26));
    m_pProgress = new QProgressBar(this);
    m_pProgress->setObjectName(QStringLiteral("progress%1").arg(IDC_PROGRESS));
    m_pProgress->setGeometry(20, 330, 520, 20);
    m_pProgress->setTextVisible(false);
    m_pProgress->setRange(0, 1);  // a marquee (range 0..0) only while merging
    m_pProgress->hide();
    m_pOK = MakeButton(this, IDC_OK, QRect(340, 368, 95, 26));
    m_pCancel = MakeButton(this, IDC_CANCEL, QRect(445, 368, 95, 26));

    // Columns: file name four fifths of the list's client width, duration one fifth.
    const int nClient = m_pList->width() - 2 * m_pList->frameWidth();
    m_pList->InsertColumn(0, QString(), Qt::AlignHCenter, nClient * 4 / 5);
    m_pList->InsertColumn(1, QString(), Qt::AlignHCenter, nClient / 5);

    connect(m_pAdd, &QPushButton::clicked, this, &CFileMergeDlg::OnAddFile);
    connect(m_pDel, &QPushButton::clicked, this, &CFileMergeDlg::OnDelFile);
    connect(m_pBrowse, &QPushButton::clicked, this, &CFileMergeDlg::OnBrowse);
    connect(m_pOK, &QPushButton::clicked, this, &CFileMergeDlg::OnOK);
    connect(m_pCancel, &QPushButton::clicked, this, &CFileMergeDlg::OnCancel);
}

void CFileMergeDlg::LoadTexts() {
    setWindowTitle(Text("IDS_Global_Merge", "Merge"));
    m_pAdd->setText(Text("IDS_FileMergeDlg_AddFile", "Add File"));
    m_pDel->setText(Text("IDS_FileMergeDlg_DelFile", "Delete File"));
    m_pGroup->setText(Text("IDS_FileMergeDlg_OutputSetting", "Output Setting"));
    m_pOutputLabel->setText(Text("IDS_AVIConvertDlg_TarFile", "Tar File:"));
    m_pBrowse->setText(Text("IDS_Global_Browse", "Browse"));
    m_pOK->setText(Text("IDS_Global_OK", "OK"));
    m_pCancel->setText(Text("IDS_Global_Cancel", "Cancel"));
    m_pList->horizontalHeaderItem(0)->setText(Text("IDS_FileMergeDlg_FileName2", "File Name"));
    m_pList->horizontalHeaderItem(1)->setText(Text("IDS_FileMergeDlg_FileTimeLen", "File Time(S)"));
}

void CFileMergeDlg::paintEvent(QPaintEvent* pEvent) {
    QDialog::paintEvent(pEvent);
    QPainter painter(this);
    painter.fillRect(QRect(0, kBandTop, width(), height() - kBandTop), kBandColour);
}

void CFileMergeDlg::InsertRow(const QString& strPath, int nDurationSeconds) {
    m_paths.push_back(strPath);
    m_durations.push_back(nDurationSeconds);
    m_pList->InsertItem(m_pList->GetItemCount(),
                        {strPath, QString::asprintf("%d", nDurationSeconds)});
}

bool CFileMergeDlg::AppendFile(const QString& strPath, int nDurationSeconds) {
    if (FileCount() >= kMaxMergeFiles) return false;
    InsertRow(strPath, nDurationSeconds);
    return true;
}

void CFileMergeDlg::OnAddFile() {
    const QString strLimit =
        Text("IDS_FileMergeDlg_MaxMergeFileCount", "The number of files is the Largest Value!");
    if (FileCount() >= kMaxMergeFiles) {
        OrlinMessageBox(this, strLimit);
        return;
    }
    const QStringList chosen = m_openPicker(this);
    // Files past the limit are left out; the user hears about it once.
    const int nTaken = FilesThatFit(FileCount(), static_cast<int>(chosen.size()));
    if (!m_pProbe) m_pProbe = std::make_unique<CMergeDurationProbe>();
    for (int i = 0; i < nTaken; ++i) {
        uint32_t nSeconds = 0;
        if (m_pProbe->Probe(chosen[i], &nSeconds)) {
            InsertRow(chosen[i], static_cast<int>(nSeconds));
        } else {
            OrlinMessageBox(this, Text("IDS_FileMergeDlg_UnsupportTypeToAdd",
                                       "Unsupport file type,fail to add!"));
        }
    }
    if (nTaken < chosen.size()) OrlinMessageBox(this, strLimit);
}

void CFileMergeDlg::OnDelFile() {
    // Highest row first, so the rows still to go keep their numbers.
    const QList<int> rows = m_pList->GetSelectedItems();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const int nRow = *it;
        if (nRow < 0 || nRow >= FileCount()) continue;
        m_pList->DeleteItem(nRow);
        m_paths.erase(m_paths.begin() + nRow);
        m_durations.erase(m_durations.begin() + nRow);
    }
}

void CFileMergeDlg::OnBrowse() {
    const QString strPath = m_savePicker(this);
    if (strPath.isEmpty()) return;
    m_strOutputPath = strPath;
    m_pOutputPath->setText(strPath);
}
