#include "tools/cut/cut_precent_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "controls/text_progress_ctrl.h"
#include "playback/lang_text.h"
#include "tools/cut/cut_events.h"

CCutPrecentDlg::CCutPrecentDlg(QWidget* pPanel) : QDialog(pPanel), m_pPanel(pPanel) {
    setModal(false);
    setFixedSize(300, 86);
    m_pProgress = new CTextProgressCtrl(this);
    m_pProgress->setObjectName(QStringLiteral("1505"));
    m_pProgress->SetRange(0, 100);
    m_pProgress->SetPos(0);
    m_pProgress->setGeometry(12, 14, 276, 22);
    m_pCancel = new QPushButton(this);
    m_pCancel->setObjectName(QStringLiteral("1506"));
    m_pCancel->setAutoDefault(false);
    m_pCancel->setDefault(false);
    m_pCancel->setGeometry(112, 48, 76, 26);
    connect(m_pCancel, &QPushButton::clicked, this, &CCutPrecentDlg::PostCancel);
    ReloadTexts();
}

void CCutPrecentDlg::ReloadTexts() {
    setWindowTitle(LangText("IDS_FileCutDlg_FileCut", "Cut File"));
    m_pCancel->setText(LangText("IDS_Global_Cancel", "Cancel"));
}

void CCutPrecentDlg::SetProgress(int nPercent) { m_pProgress->SetPos(nPercent); }

void CCutPrecentDlg::CentreOn(const QWidget* pPanel) {
    const QPoint ptCentre = pPanel->mapToGlobal(pPanel->rect().center());
    move(ptCentre - QPoint(width() / 2, height() / 2));
}

void CCutPrecentDlg::keyPressEvent(QKeyEvent* pEvent) {
    switch (pEvent->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            pEvent->accept();  // neither closes the window nor presses Cancel
            return;
        default:
            QDialog::keyPressEvent(pEvent);
    }
}

void CCutPrecentDlg::closeEvent(QCloseEvent* pEvent) {
    // The panel hides the window once the cut has ended.
    pEvent->ignore();
    PostCancel();
}

void CCutPrecentDlg::PostCancel() {
    QCoreApplication::postEvent(m_pPanel, new QEvent(CUT_MSG_CANCEL));
}
