#include "tools/avi/convert_dlg.h"

#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/text_progress_ctrl.h"
#include "playback/lang_text.h"

namespace {

std::function<QString(bool)>& FileChooser() {
    static std::function<QString(bool)> s_chooser;
    return s_chooser;
}

const QColor kBackground(213, 234, 255);

}  // namespace

CConvertDlg::CConvertDlg(QWidget* pOwner, void* hTrovan)
    : QDialog(pOwner),
      m_pOwner(pOwner),
      m_trovan(hTrovan),
      m_pRecord(std::make_unique<ConvertRecord>()) {
    setModal(true);
    *m_pRecord = {};
    WriteParams();
    m_pRecord->lHandle = 0;
    CreateControls();
    ApplyLanguage();
    m_pProgress->SetRange(0, 100);
    m_pProgress->SetPos(0);
}

void CConvertDlg::SetFileChooserForTests(std::function<QString(bool bSave)> chooser) {
    FileChooser() = std::move(chooser);
}

void CConvertDlg::WriteParams() {
    TrovanParams& st = m_pRecord->stParams;
    st.nWidth = 704;
    st.nHeight = 576;
    st.nFrameRate = 25;
    st.nVideoBitRate = 1000000;
    st.nAudioBitRate = 64000;
    st.nVideoCodec = 0;
    st.nAudioCodec = 1;
    st.nAudioChannels = 2;
    st.nContainer = 0;
}

void CConvertDlg::CreateControls() {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackground);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    auto named = [](QWidget* pWidget, const char* szKind, int nId) {
        pWidget->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(szKind)).arg(nId));
    };
    m_pResLabel = new QLabel(this);
    m_pTarLabel = new QLabel(this);
    m_pResPath = new QLineEdit(this);
    m_pTarPath = new QLineEdit(this);
    m_pResBrowse = new QPushButton(this);
    m_pTarBrowse = new QPushButton(this);
    m_pConvert = new QPushButton(this);
    m_pCancel = new QPushButton(this);
    m_pProgress = new CTextProgressCtrl(this);
    named(m_pResLabel, "static", IDC_RES_LABEL);
    named(m_pTarLabel, "static", IDC_TAR_LABEL);
    named(m_pResPath, "edit", IDC_RES_PATH);
    named(m_pTarPath, "edit", IDC_TAR_PATH);
    named(m_pResBrowse, "button", IDC_RES_BROWSE);
    named(m_pTarBrowse, "button", IDC_TAR_BROWSE);
    named(m_pConvert, "button", IDC_CONVERT);
    named(m_pCancel, "button", IDC_CANCEL);
    named(m_pProgress, "progress", IDC_PROGRESS);
    m_pResPath->setReadOnly(true);
    m_pTarPath->setReadOnly(true);
    m_pResPath->setMinimumWidth(280);
    m_pProgress->setFixedHeight(20);
    // Enter must not press a button behind the user's back.
    for (QPushButton* pButton : {m_pResBrowse, m_pTarBrowse, m_pConvert, m_pCancel}) {
        pButton->setAutoDefault(false);
    }

    auto* pGrid = new QGridLayout;
    pGrid->addWidget(m_pResLabel, 0, 0);
    pGrid->addWidget(m_pResPath, 0, 1);
    pGrid->addWidget(m_pResBrowse, 0, 2);
    pGrid->addWidget(m_pTarLabel, 1, 0);
    pGrid->addWidget(m_pTarPath, 1, 1);
    pGrid->addWidget(m_pTarBrowse, 1, 2);
    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch();
    pButtons->addWidget(m_pConvert);
    pButtons->addWidget(m_pCancel);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(16, 14, 16, 14);
    pLayout->setSpacing(12);
    pLayout->addLayout(pGrid);
    pLayout->addWidget(m_pProgress);
    pLayout->addLayout(pButtons);

    connect(m_pResBrowse, &QPushButton::clicked, this, &CConvertDlg::OnBrowseSource);
    connect(m_pTarBrowse, &QPushButton::clicked, this, &CConvertDlg::OnBrowseTarget);
    connect(m_pConvert, &QPushButton::clicked, this, &CConvertDlg::OnConvert);
    connect(m_pCancel, &QPushButton::clicked, this, &CConvertDlg::OnCancel);
}

void CConvertDlg::ApplyLanguage() {
    setWindowTitle(LangText("IDS_AVIConvertDlg_AVIConversion", "AVI Conversion"));
    m_pResLabel->setText(LangText("IDS_AVIConvertDlg_ResFile", "Res File:"));
    m_pTarLabel->setText(LangText("IDS_AVIConvertDlg_TarFile", "Tar File:"));
    m_pResBrowse->setText(LangText("IDS_Global_Browse", "Browse"));
    m_pTarBrowse->setText(LangText("IDS_Global_Browse", "Browse"));
    m_pConvert->setText(LangText("IDS_AVIConvertDlg_Convert", "Convert"));
    m_pCancel->setText(LangText("IDS_Global_Cancel", "Cancel"));
    m_strSelectPathFirst =
        LangText("IDS_AVIConvertDlg_SelectPathFirst", "Please select the path or file!");
    m_strConvertFail = LangText("IDS_AVIConvertDlg_ConvertFail", "Fail to Convert!");
    m_strConvertSucc = LangText("IDS_AVIConvertDlg_ConvertSucc", "Success to Convert!");
}

void CConvertDlg::changeEvent(QEvent* pEvent) {
    if (pEvent->type() == QEvent::LanguageChange) ApplyLanguage();
    QDialog::changeEvent(pEvent);
}

void CConvertDlg::OnBrowseSource() {
    QString strPath;
    if (FileChooser()) {
        strPath = FileChooser()(false);
    } else {
        strPath = QFileDialog::getOpenFileName(
            this, QString(), m_strSrcPath,
            QStringLiteral("ALL File (*.*);;Media File (*.mp4 *.264)"));
    }
    if (strPath.isEmpty()) return;
    m_strSrcPath = strPath;
    m_pResPath->setText(m_strSrcPath);
}

void CConvertDlg::OnBrowseTarget() {
    QString strPath;
    if (FileChooser()) {
        strPath = FileChooser()(true);
    } else {
        QFileDialog dialog(this, QString(), m_strTarPath,
                           QStringLiteral("AVI Movie Files (*.avi)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("avi"));
        dialog.selectFile(QStringLiteral("*.avi"));
        // Replacing an existing file is confirmed by the dialog itself.
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            strPath = dialog.selectedFiles().constFirst();
        }
    }
    if (strPath.isEmpty()) return;
    m_strTarPath = strPath;
    m_pTarPath->setText(m_strTarPath);
}
