// The cut itself: the checks on the user-interface thread, the work thread
// that copies, its progress and end, and cancel.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

#include "common/debug_log.h"
#include "playback/engine_api.h"
#include "playback/play_wnd.h"
#include "tools/common/free_space.h"
#include "tools/cut/cut_events.h"
#include "tools/cut/cut_job.h"
#include "tools/cut/cut_plan.h"
#include "tools/cut/cut_precent_dlg.h"
#include "tools/cut/file_cut_dlg.h"

// Shared by the panel and one work thread; the thread only sets it and posts.
struct CutThreadState {
    std::atomic<bool> bCancel{false};
    std::mutex mutex;
    std::condition_variable ended;
    bool bDone = false;
    CutMessage eResult = CutMessage::None;
};

namespace {

// How long the panel waits for the thread after Cancel before it goes on.
constexpr auto kCancelWait = std::chrono::milliseconds(1000);

CutKeyFrame KeyFrameFrom(bool bFound, const VemorFramePos& pos) {
    return CutKeyFrame{bFound, pos.nFilePos, pos.nFrameTime};
}

int64_t SourceSize(int nFd, const QString& strPath) {
    struct stat st {};
    if (nFd >= 0 && ::fstat(nFd, &st) == 0) return st.st_size;
    return QFileInfo(strPath).size();
}

}  // namespace

bool CFileCutDlg::IsCutting() const { return m_cutThread.joinable(); }

void CFileCutDlg::CutFile() {
    // One cut at a time: the progress window is up while one runs.
    if (IsCutting()) return;
    CPlayWnd* pPane = SelPane();
    CutKeyFrame start, end;
    if (pPane != nullptr && m_nTotal > 0) {
        VemorFramePos pos{};
        start = KeyFrameFrom(
            pPane->CheckKeyFramePos(static_cast<uint32_t>(m_times.nStart) * 1000u, &pos), pos);
        // An end at the file's end needs no key frame after it.
        if (start.bFound && static_cast<uint32_t>(m_times.nEnd) < m_nTotal) {
            pos = VemorFramePos{};
            end = KeyFrameFrom(
                pPane->CheckNextKeyFramePos(static_cast<uint32_t>(m_times.nEnd) * 1000u, &pos),
                pos);
        }
    }
    CutRange range;
    const CutMessage eRefusal =
        pPane == nullptr ? CutMessage::GetKeyFramePosFail
                         : PlanCutRange(m_nTotal, m_times, start, end,
                                        SourceSize(m_nSourceFd, m_strSourcePath), &range);
    if (eRefusal != CutMessage::None) {
        ShowMessage(eRefusal);
        return;
    }
    const uint32_t nHead = Engine().GetFileHeadLength();

    const QString strOutput = m_chooseOutput(this, m_strOutputPath);
    if (strOutput.isEmpty()) return;
    m_strOutputPath = strOutput;
    const std::string strTarget = QFile::encodeName(strOutput).toStdString();
    if (!HasRoomForCut(FreeSpaceForOutput(strOutput), static_cast<uint64_t>(range.Length()),
                       nHead)) {
        ShowMessage(CutMessage::DiskNotEnough);
        return;
    }

    CutJobRequest request;
    request.strSource = QFile::encodeName(m_strSourcePath).toStdString();
    request.nSourceFd = m_nSourceFd >= 0 ? ::fcntl(m_nSourceFd, F_DUPFD_CLOEXEC, 0) : -1;
    request.strTarget = strTarget;
    request.nHeadLength = nHead;
    request.range = range;
    auto pState = std::make_shared<CutThreadState>();
    const int nSerial = ++m_nCutSerial;
    try {
        m_cutThread = std::thread([this, pState, request, nSerial, runJob = m_runJob] {
            const CutMessage eResult = runJob(request, pState->bCancel, [&](int nPercent) {
                QCoreApplication::postEvent(
                    this, new CCutValueEvent(CUT_MSG_PROGRESS, nPercent, nSerial));
            });
            if (request.nSourceFd >= 0) ::close(request.nSourceFd);
            {
                std::lock_guard lock(pState->mutex);
                pState->bDone = true;
                pState->eResult = eResult;
            }
            pState->ended.notify_all();
            QCoreApplication::postEvent(
                this, new CCutValueEvent(CUT_MSG_DONE, static_cast<int>(eResult), nSerial));
        });
    } catch (const std::system_error&) {
        if (request.nSourceFd >= 0) ::close(request.nSourceFd);
        ShowMessage(CutMessage::CreateThreadFail);
        return;
    }
    m_pCutState = std::move(pState);
    m_bResultReported = false;
    m_pProgressDlg->SetProgress(0);
    m_pProgressDlg->CentreOn(this);
    m_pProgressDlg->show();
}

bool CFileCutDlg::event(QEvent* pEvent) {
    const QEvent::Type eType = pEvent->type();
    if (eType == CUT_MSG_CANCEL) {
        CancelCutFile();
        return true;
    }
    if (eType == CUT_MSG_PROGRESS || eType == CUT_MSG_DONE) {
        const auto* pValue = static_cast<const CCutValueEvent*>(pEvent);
        if (pValue->Serial() == m_nCutSerial) {
            if (eType == CUT_MSG_PROGRESS) {
                OnCutProgress(pValue->Value());
            } else {
                OnCutDone(static_cast<CutMessage>(pValue->Value()));
            }
        }
        return true;
    }
    return QWidget::event(pEvent);
}

void CFileCutDlg::OnCutProgress(int nPercent) {
    if (IsCutting()) m_pProgressDlg->SetProgress(nPercent);
}

void CFileCutDlg::OnCutDone(CutMessage eResult) {
    if (m_cutThread.joinable()) m_cutThread.join();
    m_pProgressDlg->hide();
    if (m_bResultReported) return;
    m_bResultReported = true;
    ShowMessage(eResult);
}

void CFileCutDlg::CancelCutFile() {
    DebugLog("CFileCutDlg::CancelCutFile(WPARAM wParam, LPARAM lParam)");
    if (!m_pCutState) return;
    m_pCutState->bCancel = true;
    if (!m_cutThread.joinable()) return;
    CutMessage eResult = CutMessage::None;
    {
        std::unique_lock lock(m_pCutState->mutex);
        if (!m_pCutState->ended.wait_for(lock, kCancelWait, [&] { return m_pCutState->bDone; })) {
            // Still busy (a slow disk): its end message says how it ended.
            lock.unlock();
            m_pProgressDlg->hide();
            return;
        }
        eResult = m_pCutState->eResult;
    }
    m_cutThread.join();
    m_pProgressDlg->hide();
    m_bResultReported = true;
    // A cut that completed before it saw the cancel says so instead.
    ShowMessage(eResult);
}

void CFileCutDlg::StopCutThread() {
    if (!m_cutThread.joinable()) return;
    m_pCutState->bCancel = true;
    m_cutThread.join();
    m_bResultReported = true;
    m_pProgressDlg->hide();
}
