// The merge itself: the checks of OK, the work thread, Cancel and closing.

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>

#include "common/debug_log.h"
#include "controls/orlin_message_box.h"
#include "tools/common/free_space.h"
#include "tools/merge/file_merge_dlg.h"
#include "tools/merge/merge_checks.h"
#include "tools/merge/merge_work.h"

namespace {

// How long Cancel, a new merge or closing waits for the work thread.
constexpr int kThreadWaitMs = 1000;

uint64_t FileSize(const QString& strPath) {
    // A file that cannot be opened counts as empty, as its merge will fail anyway.
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    return static_cast<uint64_t>(file.size());
}

}  // namespace

void CFileMergeDlg::OnOK() {
    std::vector<uint64_t> sizes;
    sizes.reserve(m_paths.size());
    for (const QString& strPath : m_paths) sizes.push_back(FileSize(strPath));
    const uint64_t nTotal = TotalMergeSize(sizes);
    switch (CheckMergeList(FileCount(), m_strOutputPath.isEmpty(), nTotal)) {
        case MergeCheck::TooFewFiles:
            OrlinMessageBox(this, Text("IDS_FileMergeDlg_MinMergeFileCount",
                                       "The number of files can not be smaller than two!"));
            return;
        case MergeCheck::NoOutputPath:
            OrlinMessageBox(
                this, Text("IDS_FileMergeDlg_SavePathEmpty", "The save path can not be empty!"));
            return;
        case MergeCheck::TooLarge:
            OrlinMessageBox(this, Text("IDS_MainWnd_MergeResultFileLargeThan4G",
                                       "Can not be merged:Target file large than 4 GB!"));
            return;
        case MergeCheck::Ok:
            break;
    }
    if (!FitsOnDisk(nTotal, FreeSpaceForOutput(m_strOutputPath))) {
        OrlinMessageBox(this, Text("IDS_Global_DiskNotEnough", "Disk space not enough!"));
        return;
    }
    if (m_nHandle == 0) {
        m_nHandle = m_kelsa.CreateHandle();
        if (m_nHandle == 0) {
            DebugLog("CFileMergeDlg::OnOK KELSA_CreateHandle Fail");
            return;
        }
    }
    StartMerge();
}

void CFileMergeDlg::StartMerge() {
    if (m_pWork) {
        m_pWork->WaitFor(kThreadWaitMs);
        m_pWork.reset();
    }
    std::vector<MergeListEntry> files;
    files.reserve(m_paths.size());
    for (size_t i = 0; i < m_paths.size(); ++i)
        files.push_back({m_paths[i], m_durations[i] * 1000});
    m_pWork = std::make_unique<CMergeWork>(m_kelsa, this);
    if (!m_pWork->Start(m_nHandle, std::move(files), m_strOutputPath)) {
        m_pWork.reset();
        OrlinMessageBox(this, Text("IDS_FileMergeDlg_CreateThreadFail", "Create thread failed!"));
        return;
    }
    m_bMerging = true;
    m_pOK->setEnabled(false);
    m_pProgress->setRange(0, 0);
    m_pProgress->show();
}

bool CFileMergeDlg::event(QEvent* pEvent) {
    if (pEvent->type() == MergeDoneEvent::Type()) {
        OnMergeDone(*static_cast<MergeDoneEvent*>(pEvent));
        return true;
    }
    return QDialog::event(pEvent);
}

void CFileMergeDlg::OnMergeDone(const MergeDoneEvent& done) {
    if (m_pWork) {
        m_pWork->WaitFor(kThreadWaitMs);
        m_pWork.reset();
    }
    EndMergeLook();
    if (done.GetOutcome() == MergeDoneEvent::Refused) {
        // The handle stays for the next OK, which lists the files afresh.
        QString strCannot = Text("IDS_FileMergeDlg_CannotMerge", " can not be merged!");
        // The language tables condense the leading space away.
        if (!strCannot.startsWith(QLatin1Char(' '))) strCannot.prepend(QLatin1Char(' '));
        OrlinMessageBox(this, done.RefusedPath() + strCannot);
        return;
    }
    // The work thread has destroyed the handle; the next OK creates a new one.
    m_nHandle = 0;
    OrlinMessageBox(this, done.GetOutcome() == MergeDoneEvent::Merged
                              ? Text("IDS_FileMergeDlg_MergeSucc", "Success to merge!")
                              : Text("IDS_FileMergeDlg_MergeFail", "Fail to merge!"));
}

void CFileMergeDlg::EndMergeLook() {
    m_bMerging = false;
    m_pOK->setEnabled(true);
    m_pProgress->setRange(0, 1);
    m_pProgress->hide();
}

void CFileMergeDlg::StopMerge() {
    if (m_pWork) {
        // Asked first, so the thread is already stopping while we wait.
        m_pWork->RequestStop(m_nHandle);
        m_pWork->WaitFor(kThreadWaitMs);
        m_pWork->Abandon();
        m_pWork.reset();
    }
    QCoreApplication::removePostedEvents(this, MergeDoneEvent::Type());
    if (m_nHandle != 0) {
        // Refused when the work thread destroyed it already; the number is never reused.
        m_kelsa.DestroyHandle(m_nHandle);
        m_nHandle = 0;
    }
}

void CFileMergeDlg::OnCancel() {
    if (!m_bMerging) {
        QDialog::reject();
        return;
    }
    StopMerge();
    EndMergeLook();
}

void CFileMergeDlg::reject() { OnCancel(); }

void CFileMergeDlg::closeEvent(QCloseEvent* pEvent) {
    StopMerge();
    EndMergeLook();
    QDialog::closeEvent(pEvent);
}
