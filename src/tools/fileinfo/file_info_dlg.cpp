#include "tools/fileinfo/file_info_dlg.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <vector>

#include "lang/language_parser.h"
#include "tools/fileinfo/file_info_format.h"
#include "tools/fileinfo/info_tab_page.h"
#include "tools/mediaprobe/media_probe_file.h"

namespace {

constexpr QSize kDialogSize(420, 290);
constexpr QRect kFileNameLabelRect(15, 15, 90, 20);
constexpr QRect kFileNameRect(110, 15, 295, 20);
constexpr QRect kTabAreaRect(10, 48, 400, 190);
constexpr QRect kOkRect(325, 250, 85, 28);
// The pages fill the tab control below its tabs.
constexpr int kPageInset = 5;
constexpr int kPageTop = 22;

QString Text(const char* szKey, const char* szDefault) {
    QString strText;
    CLanguageParser::FindString(szKey, strText, QString::fromUtf8(szDefault));
    return strText;
}

}  // namespace

CFileInfoDlg::CFileInfoDlg(QWidget* pOwner, const FileInfoSource& source)
    : QDialog(pOwner), m_pOwner(pOwner) {
    setModal(true);
    setFixedSize(kDialogSize);
    LoadTexts();
    CreateControls();
    ShowPage(CInfoTabPage::BASIC_PAGE);
    Fill(source);
}

CInfoTabPage* CFileInfoDlg::GetPage(int nIndex) const {
    return nIndex == 0 || nIndex == 1 ? m_pPages[nIndex] : nullptr;
}

QString CFileInfoDlg::GetFileNameText() const { return m_pFileName->text(); }

void CFileInfoDlg::LoadTexts() {
    m_strTitle = Text("IDS_Global_FileInfo", "File Infomation");
    m_strOk = Text("IDS_Global_OK", "OK");
    m_strFileNameLabel = Text("IDS_FileInfoDlg_FileName", "File Name");
    m_strBasicInfo = Text("IDS_FileInfoDlg_BasicInfo", "Basic Info");
    m_strExtraInfo = Text("IDS_FileInfoDlg_ExtraInfo", "Extra Info");
    m_basicLabels = {Text("IDS_FileInfoDlg_FileType", "File Type"),
                     Text("IDS_FileInfoDlg_FileSize", "File Size"),
                     Text("IDS_FileInfoDlg_FileTime", "File Length"),
                     Text("IDS_FileInfoDlg_Resolution", "Resolution"),
                     Text("IDS_FileInfoDlg_FilePath", "File Path")};
    m_extraLabels = {Text("IDS_FileInfoDlg_VideoFormat", "Video Format"),
                     Text("IDS_FileInfoDlg_VideoFrameRate", "Video Frame Rate"),
                     Text("IDS_FileInfoDlg_AudioFormat", "Audio Format")};
}

void CFileInfoDlg::CreateControls() {
    setWindowTitle(m_strTitle);
    m_pFileNameLabel = new QLabel(m_strFileNameLabel + QLatin1Char(':'), this);
    m_pFileNameLabel->setObjectName(QStringLiteral("static%1").arg(FILE_NAME_LABEL_ID));
    m_pFileNameLabel->setGeometry(kFileNameLabelRect);
    m_pFileName = new QLineEdit(this);
    m_pFileName->setObjectName(QStringLiteral("edit%1").arg(FILE_NAME_ID));
    m_pFileName->setReadOnly(true);
    m_pFileName->setGeometry(kFileNameRect);

    auto* pFrame = new QFrame(this);
    pFrame->setFrameShape(QFrame::StyledPanel);
    pFrame->setGeometry(kTabAreaRect);
    m_pTabArea = pFrame;
    m_pTabBar = new QTabBar(m_pTabArea);
    m_pTabBar->addTab(m_strBasicInfo);
    m_pTabBar->addTab(m_strExtraInfo);
    m_pTabBar->setGeometry(0, 0, kTabAreaRect.width(), kPageTop);
    const QRect rcPage = QRect(QPoint(0, 0), kTabAreaRect.size())
                             .adjusted(kPageInset, kPageTop, -kPageInset, -kPageInset);
    for (int i = 0; i < 2; ++i) {
        m_pPages[i] = new CInfoTabPage(m_pTabArea, i);
        m_pPages[i]->setGeometry(rcPage);
    }
    connect(m_pTabBar, &QTabBar::currentChanged, this, &CFileInfoDlg::ShowPage);

    m_pOk = new QPushButton(m_strOk, this);
    m_pOk->setGeometry(kOkRect);
    m_pOk->setDefault(true);
    connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
}

void CFileInfoDlg::ShowPage(int nIndex) {
    for (int i = 0; i < 2; ++i) m_pPages[i]->setVisible(i == nIndex);
}

void CFileInfoDlg::Fill(const FileInfoSource& source) {
    m_strFilePath = source.strPath;
    m_strFileName = FileNameOfPath(m_strFilePath);
    m_pFileName->setText(m_strFileName);
    if (m_strFilePath.isEmpty()) return;

    std::vector<uint8_t> buffer(PROBE_BUFFER_BYTES);
    MediaProbeFile(m_strFilePath.toUtf8().constData(), &m_stProbe, buffer.data(), buffer.size());
    // The whole 64-bit size: files of several GiB are common in recordings.
    m_nFileSize = static_cast<uint64_t>(QFileInfo(m_strFilePath).size());

    m_pPages[CInfoTabPage::BASIC_PAGE]->SetRows(
        m_basicLabels, {SystemFormatName(m_stProbe.wSystemFormat), FormatFileSize(m_nFileSize),
                        FormatPlayLength(source.nFileSeconds),
                        FormatResolution(source.nWidth, source.nHeight), m_strFilePath});
    m_pPages[CInfoTabPage::EXTRA_PAGE]->SetRows(
        m_extraLabels, {VideoFormatName(m_stProbe.wVideoFormat), FormatFrameRate(source.nFrameRate),
                        AudioFormatName(m_stProbe.wAudioFormat)});
}
