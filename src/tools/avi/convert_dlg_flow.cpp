#include <QPushButton>
#include <QTimerEvent>

#include "common/debug_log.h"
#include "controls/orlin_message_box.h"
#include "controls/text_progress_ctrl.h"
#include "tools/avi/convert_dlg.h"

// The conversion's course: Convert starts it, the poll timer follows it, Cancel
// and destruction end it.

CConvertDlg::~CConvertDlg() {
    m_pollTimer.stop();
    StopAndRelease();
}

void CConvertDlg::OnConvert() {
    if (m_strSrcPath.isEmpty() || m_strTarPath.isEmpty()) {
        OrlinMessageBox(this, m_strSelectPathFirst);
        return;
    }
    m_pProgress->SetPos(0);
    m_pollTimer.start(POLL_INTERVAL_MS, this);
    m_bConverting = true;
    if (StartConvert()) {
        m_pConvert->setEnabled(false);
        return;
    }
    m_pollTimer.stop();
    m_bConverting = false;
    OrlinMessageBox(this, m_strConvertFail);
}

bool CConvertDlg::StartConvert() {
    if (m_pRecord->lHandle == 0) {
        const int32_t nResult = m_trovan.Create(&m_pRecord->lHandle);
        if (nResult != TROVAN_OK) {
            DebugLog("CConvertDlg::StartConvert TROVAN_Create Fail, result=%d", nResult);
            m_pRecord->lHandle = 0;
            return false;
        }
    }
    const int32_t lHandle = m_pRecord->lHandle;
    int32_t nResult = m_trovan.Initial(lHandle, m_strSrcPath.toUtf8().constData(),
                                       m_strTarPath.toUtf8().constData());
    if (nResult == TROVAN_OK) {
        WriteParams();
        nResult = m_trovan.SetPara(lHandle, m_pRecord.get());
    }
    if (nResult == TROVAN_OK) nResult = m_trovan.Start(lHandle);
    if (nResult == TROVAN_OK) return true;
    DebugLog("CConvertDlg::StartConvert Fail, handle=%d, result=%d", lHandle, nResult);
    Release();
    return false;
}

void CConvertDlg::timerEvent(QTimerEvent* pEvent) {
    if (pEvent->timerId() == m_pollTimer.timerId()) {
        OnPollTimer();
        return;
    }
    QDialog::timerEvent(pEvent);
}

void CConvertDlg::OnPollTimer() {
    if (!m_pRecord || !m_pOwner) {
        m_pollTimer.stop();
        return;
    }
    int32_t nPercent = 0;
    const int32_t nResult = m_trovan.GetConvertPerc(m_pRecord->lHandle, &nPercent);
    if (nResult != TROVAN_OK) {
        // The conversion failed on its way (unreadable source, full disk): say
        // so instead of waiting for a percentage that no longer grows.
        DebugLog("CConvertDlg::OnPollTimer TROVAN_GetConvertPerc Fail, result=%d", nResult);
        FinishConvert(false);
        return;
    }
    m_pProgress->SetPos(nPercent);
    if (nPercent == 100) FinishConvert(true);
}

void CConvertDlg::FinishConvert(bool bSuccess) {
    StopAndRelease();
    m_pollTimer.stop();
    m_bConverting = false;
    OrlinMessageBox(this, bSuccess ? m_strConvertSucc : m_strConvertFail);
    m_pConvert->setEnabled(true);
}

void CConvertDlg::OnCancel() {
    StopAndRelease();
    if (!m_bConverting) {
        reject();
        return;
    }
    m_pConvert->setEnabled(true);
    m_pProgress->SetPos(0);
    m_pollTimer.stop();
    m_bConverting = false;
}

void CConvertDlg::StopAndRelease() {
    if (!m_pRecord) return;
    if (m_pRecord->lHandle != 0) m_trovan.Stop(m_pRecord->lHandle);
    Release();
}

void CConvertDlg::Release() {
    if (m_trovan.Release(m_pRecord->lHandle) == TROVAN_OK) m_pRecord->lHandle = 0;
}
