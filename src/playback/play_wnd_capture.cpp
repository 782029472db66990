// Snapshots of the pane's current picture, single and once a second.

#include <QFile>
#include <ctime>
#include <filesystem>
#include <new>

#include "common/debug_log.h"
#include "output_file/pending_output_file.h"
#include "playback/capture_file_name.h"
#include "playback/engine_api.h"
#include "playback/lang_text.h"
#include "playback/play_wnd.h"

namespace {
// Free bytes of the file system holding `strFolder`; false when it cannot be asked.
bool FreeBytesOf(const QString& strFolder, uint64_t* pFree) {
    std::error_code error;
    const auto info = std::filesystem::space(strFolder.toStdString(), error);
    if (error) return false;
    *pFree = info.available;
    return true;
}

// Writes the picture under a temporary name beside the target and renames it
// when complete, so a full disk or a crash leaves the whole picture or none.
bool WriteWholeFile(const QString& strPath, const uint8_t* pData, uint32_t nSize, bool* pCreated) {
    outputfile::PendingOutputFile out(QFile::encodeName(strPath).toStdString());
    *pCreated = out.Ok();
    if (!*pCreated) return false;
    QFile file(QFile::decodeName(out.TempPath().c_str()));
    if (!file.open(QIODevice::WriteOnly)) return false;
    const qint64 nWritten = file.write(reinterpret_cast<const char*>(pData), nSize);
    const bool bFlushed = file.flush();
    file.close();
    return nWritten == qint64{nSize} && bFlushed && file.error() == QFileDevice::NoError &&
           out.Commit();
}

// The next free name: a picture another run of the player left under the same
// date, time and counter is never replaced.
QString FreeCaptureFileName(const QString& strFolder, const std::tm* pTime, bool bJpeg) {
    constexpr int kMaxTakenNames = 1000;
    QString strPath;
    for (int i = 0; i < kMaxTakenNames; ++i) {
        strPath = CaptureFileName(strFolder, pTime, TakeCaptureCounter(bJpeg), bJpeg);
        if (!QFile::exists(strPath)) break;
    }
    return strPath;
}
}  // namespace

int32_t CPlayWnd::CapPic(int32_t nImageType, const QString& strFolder, QString* pstrPath) {
    if (m_nPicWidth == 0 || m_nPicHeight == 0) {
        int32_t nWidth = 0;
        int32_t nHeight = 0;
        if (!GetImageSize(&nWidth, &nHeight)) {
            DebugLog("CapOnePic fail 1");
            return CAPTURE_FAIL;
        }
    }
    const uint32_t nBufSize = CaptureBufferSize(m_nPicWidth, m_nPicHeight);

    uint64_t nFree = 0;
    if (nBufSize == 0 || !FreeBytesOf(strFolder, &nFree)) {
        DebugLog("CapOnePic fail 2");
        return CAPTURE_FAIL;
    }
    if (nFree <= nBufSize) {
        DebugLog("CapOnePic fail 3");
        return CAPTURE_DISK_FULL;
    }

    // The buffer is kept between captures so a capture every second does not reallocate.
    if (m_nCapBufSize < nBufSize) {
        m_pCapBuf.reset();
        m_nCapBufSize = 0;
    }
    if (!m_pCapBuf) {
        m_pCapBuf.reset(new (std::nothrow) uint8_t[nBufSize]);
        if (!m_pCapBuf) {
            DebugLog("CapOnePic fail 4");
            return CAPTURE_FAIL;
        }
        m_nCapBufSize = nBufSize;
    }

    const std::time_t now = std::time(nullptr);
    std::tm stLocal{};
    const std::tm* pLocal = localtime_r(&now, &stLocal);

    const bool bJpeg = nImageType != 0;
    uint32_t nImageSize = 0;
    const bool bEncoded = bJpeg ? Engine().GetJPEG(m_lPort, m_pCapBuf.get(), nBufSize, &nImageSize)
                                : Engine().GetBMP(m_lPort, m_pCapBuf.get(), nBufSize, &nImageSize);
    if (!bEncoded) {
        DebugLog(bJpeg ? "CPlayWnd::CapPic() Vemor_GetJPEG() FAIL dwErr=%d"
                       : "CPlayWnd::CapPic() Vemor_GetBMP() FAIL dwErr=%d",
                 Engine().GetLastError(m_lPort));
        return CAPTURE_FAIL;
    }
    const QString strPath = FreeCaptureFileName(strFolder, pLocal, bJpeg);
    if (nImageSize > nBufSize) nImageSize = nBufSize;  // never write past the buffer

    bool bCreated = false;
    if (!WriteWholeFile(strPath, m_pCapBuf.get(), nImageSize, &bCreated)) {
        DebugLog(bCreated ? "CapOnePic fail 6" : "CapOnePic fail 5");
        return CAPTURE_FAIL;
    }
    if (pstrPath != nullptr) *pstrPath = strPath;
    return CAPTURE_OK;
}

int32_t CPlayWnd::Capture(int32_t nImageType, const QString& strFolder) {
    const PlayState eState = GetPlayState();
    if (!IsPlayingOrPaused(eState) || m_pMainWnd == nullptr) {
        return CAPTURE_FAIL;
    }
    QString strPath;
    const int32_t nResult = CapPic(nImageType, strFolder, &strPath);
    if (nResult == CAPTURE_OK) {
        SetMessageText(LangText("IDS_MainWnd_CaptureSuccess", "Capture Success") +
                       QStringLiteral(" : ") + strPath);
    } else if (nResult == CAPTURE_DISK_FULL) {
        SetMessageText(LangText("IDS_Global_DiskNotEnough", "Disk space not enough!"));
    } else {
        SetMessageText(LangText("IDS_MainWnd_CaptureFail", "Capture Fail") + QStringLiteral("!"));
    }
    m_msgTimer.start();
    return nResult;
}

int32_t CPlayWnd::ContinuousCapture(bool bOn, int32_t nImageType, const QString& strFolder) {
    const PlayState eState = GetPlayState();
    if (!IsPlayingOrPaused(eState)) return 0;
    if (!bOn) {
        m_conCapTimer.stop();
        m_bConCapturing = false;
        return 1;
    }
    m_strConCapFolder = strFolder;
    m_nConCapType = nImageType;
    m_conCapTimer.start();
    m_bConCapturing = true;
    SetMessageText(LangText("IDS_MainWnd_ConCapWarningDiskSpace",
                            "Continuous capturing,please attention disk space!"));
    m_msgTimer.start();
    return 1;
}

void CPlayWnd::OnConCaptureTick() {
    if (!m_bConCapturing) return;
    const int32_t nResult = CapPic(m_nConCapType, m_strConCapFolder);
    if (nResult == CAPTURE_OK) return;
    m_conCapTimer.stop();
    m_bConCapturing = false;
    if (nResult == CAPTURE_DISK_FULL) {
        SetMessageText(LangText("IDS_Global_DiskNotEnough", "Disk space not enough!"));
    } else {
        SetMessageText(LangText("IDS_MainWnd_CaptureFail", "Capture Fail") + QStringLiteral("!"));
    }
    m_msgTimer.start();
}
