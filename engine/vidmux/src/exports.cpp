// The C entry points: find the port, run the call, keep the error.

#include <atomic>

#include "audio_output.h"
#include "port_table.h"
#include "vidmux.h"

using vidmux::Port;
using vidmux::PortTable;

namespace {

constexpr uint32_t kSdkVersion = (1u << 24) | (0u << 16) | (0u << 8) | 1u;

// Error of calls that named no valid port.
std::atomic<uint32_t> g_portlessError{VIDMUX_NOERROR};

template <typename Fn>
VBOOL WithPort(int32_t nPort, Fn&& fn) {
    std::shared_ptr<Port> port = PortTable::Instance().Find(nPort);
    if (!port) {
        g_portlessError = VIDMUX_ERR_BAD_PORT;
        return 0;
    }
    const int error = fn(*port);
    if (error != VIDMUX_NOERROR) port->SetLastError(error);
    return error == VIDMUX_NOERROR ? 1 : 0;
}

// Registrations: change the port's callbacks under its lock.
template <typename Change>
VBOOL ChangeCallbacks(int32_t nPort, Change&& change) {
    return WithPort(nPort, [&](Port& port) {
        port.UpdateCallbacks(change);
        return static_cast<int>(VIDMUX_NOERROR);
    });
}

// For queries that return their value: 0 on failure, with the error kept.
template <typename Fn>
uint32_t QueryPort(int32_t nPort, Fn&& fn) {
    uint32_t value = 0;
    if (!WithPort(nPort, [&](Port& port) { return fn(port, &value); })) return 0;
    return value;
}

}  // namespace

extern "C" {

VBOOL Vemor_GetPort(int32_t* pnPort) {
    if (!pnPort) {
        g_portlessError = VIDMUX_ERR_NULL_POINTER;
        return 0;
    }
    const int port = PortTable::Instance().Take();
    if (port < 0) {
        g_portlessError = VIDMUX_ERR_NO_FREE_PORT;
        return 0;
    }
    *pnPort = port;
    return 1;
}

VBOOL Vemor_FreePort(int32_t nPort) {
    if (!PortTable::Instance().Free(nPort)) {
        if (std::shared_ptr<Port> port = PortTable::Instance().Find(nPort)) {
            port->SetLastError(VIDMUX_ERR_ORDER);
        } else {
            g_portlessError = VIDMUX_ERR_BAD_PORT;
        }
        return 0;
    }
    return 1;
}

VBOOL Vemor_OpenFile(int32_t nPort, const char* sFileName) {
    return WithPort(nPort, [&](Port& port) {
        return sFileName ? port.OpenFile(sFileName) : static_cast<int>(VIDMUX_ERR_NULL_POINTER);
    });
}

VBOOL Vemor_CloseFile(int32_t nPort) {
    return WithPort(nPort, [](Port& port) { return port.CloseFile(); });
}

uint32_t Vemor_GetFileHeadLength(void) { return VIDMUX_FILE_HEAD_LENGTH; }

uint32_t Vemor_GetLastError(int32_t nPort) {
    std::shared_ptr<Port> port = PortTable::Instance().Find(nPort);
    return port ? port->LastError() : g_portlessError.load();
}

uint32_t Vemor_GetSdkVersion(void) { return kSdkVersion; }

VBOOL Vemor_Play(int32_t nPort, VemorRenderWindow* hWnd) {
    return WithPort(nPort, [&](Port& port) { return port.Play(hWnd); });
}

VBOOL Vemor_ReversePlay(int32_t nPort) {
    return WithPort(nPort, [](Port& port) { return port.ReversePlay(); });
}

VBOOL Vemor_Pause(int32_t nPort, uint32_t nPause) {
    return WithPort(nPort, [&](Port& port) { return port.Pause(nPause != 0); });
}

VBOOL Vemor_Stop(int32_t nPort) {
    return WithPort(nPort, [](Port& port) { return port.Stop(); });
}

VBOOL Vemor_Fast(int32_t nPort) {
    return WithPort(nPort, [](Port& port) { return port.ChangeSpeed(+1); });
}

VBOOL Vemor_Slow(int32_t nPort) {
    return WithPort(nPort, [](Port& port) { return port.ChangeSpeed(-1); });
}

VBOOL Vemor_OneByOne(int32_t nPort) {
    return WithPort(nPort, [](Port& port) { return port.StepForward(); });
}

VBOOL Vemor_OneByOneBack(int32_t nPort) {
    return WithPort(nPort, [](Port& port) { return port.StepBack(); });
}

VBOOL Vemor_ThrowBFrameNum(int32_t nPort, uint32_t nNum) {
    return WithPort(nPort, [&](Port& port) { return port.ThrowBFrames(nNum); });
}

VBOOL Vemor_SetCurrentFrameNum(int32_t nPort, uint32_t nFrameNum) {
    return WithPort(nPort, [&](Port& port) { return port.SetCurrentFrame(nFrameNum); });
}

VBOOL Vemor_SetPlayedTimeEx(int32_t nPort, uint32_t nTime) {
    return WithPort(nPort, [&](Port& port) { return port.SetPlayedTimeMs(nTime); });
}

uint32_t Vemor_GetFileTotalFrames(int32_t nPort) {
    return QueryPort(nPort, [](Port& port, uint32_t* v) { return port.TotalFrames(v); });
}

uint32_t Vemor_GetFileTime(int32_t nPort) {
    return QueryPort(nPort, [](Port& port, uint32_t* v) { return port.FileTimeSeconds(v); });
}

uint32_t Vemor_GetPlayedTime(int32_t nPort) {
    return QueryPort(nPort, [](Port& port, uint32_t* v) { return port.PlayedTimeSeconds(v); });
}

uint32_t Vemor_GetCurrentFrameNum(int32_t nPort) {
    return QueryPort(nPort, [](Port& port, uint32_t* v) { return port.CurrentFrame(v); });
}

VBOOL Vemor_GetSystemTime(int32_t nPort, VemorSystemTime* pstSystemTime) {
    return WithPort(nPort, [&](Port& port) { return port.SystemTime(pstSystemTime); });
}

VBOOL Vemor_GetKeyFramePos(int32_t nPort, uint32_t nValue, uint32_t nType,
                           VemorFramePos* pFramePos) {
    return WithPort(nPort,
                    [&](Port& port) { return port.KeyFramePos(nValue, nType, false, pFramePos); });
}

VBOOL Vemor_GetNextKeyFramePos(int32_t nPort, uint32_t nValue, uint32_t nType,
                               VemorFramePos* pFramePos) {
    return WithPort(nPort,
                    [&](Port& port) { return port.KeyFramePos(nValue, nType, true, pFramePos); });
}

VBOOL Vemor_GetPictureSize(int32_t nPort, int32_t* pWidth, int32_t* pHeight) {
    return WithPort(nPort, [&](Port& port) { return port.PictureSize(pWidth, pHeight); });
}

VBOOL Vemor_GetBMP(int32_t nPort, uint8_t* pBitmap, uint32_t nBufSize, uint32_t* pBmpSize) {
    return WithPort(nPort,
                    [&](Port& port) { return port.Snapshot(false, pBitmap, nBufSize, pBmpSize); });
}

VBOOL Vemor_GetJPEG(int32_t nPort, uint8_t* pJpeg, uint32_t nBufSize, uint32_t* pJpegSize) {
    return WithPort(nPort,
                    [&](Port& port) { return port.Snapshot(true, pJpeg, nBufSize, pJpegSize); });
}

VBOOL Vemor_RefreshPlay(int32_t nPort) {
    return WithPort(nPort, [](Port& port) { return port.Refresh(); });
}

VBOOL Vemor_RefreshPlayEx(int32_t nPort, uint32_t nRegionNum) {
    return WithPort(nPort, [&](Port& port) {
        return nRegionNum == 0 ? port.Refresh() : static_cast<int>(VIDMUX_ERR_NOT_SUPPORTED);
    });
}

VBOOL Vemor_SetDisplayRegion(int32_t nPort, uint32_t nRegionNum, const VemorRect* pSrcRect,
                             VemorRenderWindow* hDestWnd, VBOOL bEnable) {
    return WithPort(nPort, [&](Port& port) {
        return port.SetDisplayRegion(nRegionNum, pSrcRect, hDestWnd, bEnable != 0);
    });
}

VBOOL Vemor_SetColor(int32_t nPort, uint32_t nRegionNum, int32_t nBrightness, int32_t nContrast,
                     int32_t nSaturation, int32_t nHue) {
    return WithPort(nPort, [&](Port& port) {
        return port.SetColor(nRegionNum, {nBrightness, nContrast, nSaturation, nHue});
    });
}

VBOOL Vemor_SetDisplayType(int32_t nPort, int32_t nType) {
    return WithPort(nPort, [&](Port& port) { return port.SetDisplayType(nType); });
}

VBOOL Vemor_SetPicQuality(int32_t nPort, VBOOL bHighQuality) {
    return WithPort(nPort, [&](Port& port) { return port.SetPicQuality(bHighQuality != 0); });
}

VBOOL Vemor_SetDeflash(int32_t nPort, VBOOL bDeflash) {
    return WithPort(nPort, [&](Port& port) { return port.SetDeflash(bDeflash != 0); });
}

VBOOL Vemor_SetTimerType(int32_t nPort, uint32_t nTimerType, uint32_t /*nReserved*/) {
    return WithPort(nPort, [&](Port& port) { return port.SetTimerType(nTimerType); });
}

VBOOL Vemor_PlaySound(int32_t nPort) {
    return WithPort(nPort, [](Port& port) { return port.PlaySound(true); });
}

VBOOL Vemor_StopSound(void) {
    vidmux::AudioOutput::Instance().SetExclusive(-1);
    return 1;
}

VBOOL Vemor_PlaySoundShare(int32_t nPort) {
    return WithPort(nPort, [](Port& port) { return port.PlaySound(false); });
}

VBOOL Vemor_StopSoundShare(int32_t nPort) {
    return WithPort(nPort, [](Port& port) { return port.StopSoundShare(); });
}

VBOOL Vemor_SetVolume(int32_t nPort, uint16_t nVolume) {
    return WithPort(nPort, [&](Port& port) { return port.SetVolume(nVolume); });
}

VBOOL Vemor_SetSycGroup(int32_t nPort, uint32_t nGroupIndex) {
    return WithPort(nPort, [&](Port& port) { return port.JoinSyncGroup(nGroupIndex); });
}

VBOOL Vemor_SetFileEndMsg(int32_t nPort, VemorRenderWindow* hWnd, uint32_t nMsg) {
    return ChangeCallbacks(nPort, [&](vidmux::PortCallbacks& c) {
        c.fileEndWindow = hWnd;
        c.fileEndMessage = nMsg;
    });
}

VBOOL Vemor_SetEncChangeMsg(int32_t nPort, VemorRenderWindow* hWnd, uint32_t nMsg) {
    return ChangeCallbacks(nPort, [&](vidmux::PortCallbacks& c) {
        c.encChangeWindow = hWnd;
        c.encChangeMessage = nMsg;
    });
}

VBOOL Vemor_SetDisplayCallBackEx(int32_t nPort, VemorDisplayCallBack DisplayCallBack, void* pUser) {
    return ChangeCallbacks(nPort, [&](vidmux::PortCallbacks& c) {
        c.display = DisplayCallBack;
        c.displayUser = pUser;
    });
}

VBOOL Vemor_RegisterDrawFun(int32_t nPort, VemorDrawFun DrawFun, void* pUser) {
    return ChangeCallbacks(nPort, [&](vidmux::PortCallbacks& c) {
        c.draw = DrawFun;
        c.drawUser = pUser;
    });
}

VBOOL Vemor_RegisterIVSDrawFunCB(int32_t nPort, VemorIVSDrawFun IVSDrawFun, void* pUser) {
    return ChangeCallbacks(nPort, [&](vidmux::PortCallbacks& c) {
        c.ivsDraw = IVSDrawFun;
        c.ivsDrawUser = pUser;
    });
}

VBOOL Vemor_EnableIVS(int32_t nPort, VBOOL bEnable) {
    return ChangeCallbacks(nPort, [&](vidmux::PortCallbacks& c) { c.ivsEnabled = bEnable != 0; });
}

VBOOL Vemor_SetFileRefCallBack(int32_t nPort, VemorFileRefCallBack FileRefCallBack, void* pUser) {
    return ChangeCallbacks(nPort, [&](vidmux::PortCallbacks& c) {
        c.fileRef = FileRefCallBack;
        c.fileRefUser = pUser;
    });
}

VBOOL Vemor_SetCheckWatermarkCallBack(int32_t nPort, VemorWatermarkCallBack WatermarkCallBack,
                                      void* pUser) {
    return ChangeCallbacks(nPort, [&](vidmux::PortCallbacks& c) {
        c.watermark = WatermarkCallBack;
        c.watermarkUser = pUser;
    });
}

VBOOL Vemor_SetDecCallBackExMend(int32_t nPort, VemorDecCallBack DecCallBack, char* pDest,
                                 int32_t nDestSize, void* pUser) {
    return WithPort(nPort, [&](Port& port) {
        if (pDest || nDestSize) return static_cast<int>(VIDMUX_ERR_NOT_SUPPORTED);
        port.UpdateCallbacks([&](vidmux::PortCallbacks& c) {
            c.decode = DecCallBack;
            c.decodeUser = pUser;
        });
        return static_cast<int>(VIDMUX_NOERROR);
    });
}

VBOOL Vemor_SetFileEndCallback(int32_t nPort, VemorFileEndCallBack FileEndCallBack, void* pUser) {
    return ChangeCallbacks(nPort, [&](vidmux::PortCallbacks& c) {
        c.fileEnd = FileEndCallBack;
        c.fileEndUser = pUser;
    });
}

VBOOL Vemor_SetEncTypeChangeCallBack(int32_t nPort,
                                     VemorEncTypeChangeCallBack EncTypeChangeCallBack,
                                     void* pUser) {
    return ChangeCallbacks(nPort, [&](vidmux::PortCallbacks& c) {
        c.encChange = EncTypeChangeCallBack;
        c.encChangeUser = pUser;
    });
}

VBOOL Vemor_VIE_SetModuConfig(int32_t nPort, int32_t nModuFlag, VBOOL bEnable) {
    return WithPort(nPort, [&](Port& port) { return port.SetVieModules(nModuFlag, bEnable != 0); });
}

VBOOL Vemor_VIE_SetRegion(int32_t nPort, int32_t nRegionNum, const VemorRect* pRect) {
    return WithPort(nPort, [&](Port& port) { return port.SetVieRegion(nRegionNum, pRect); });
}

VBOOL Vemor_VIE_SetParaConfig(int32_t nPort, const void* pParaConfig) {
    return WithPort(nPort, [&](Port& port) { return port.SetVieParams(pParaConfig); });
}

}  // extern "C"
