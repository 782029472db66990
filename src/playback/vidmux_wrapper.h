#pragma once

#include <QString>
#include <cstdint>

#include "vidmux.h"

// One engine port for the places that need a file's facts without a pane.
// The operations keep the engine's order and meaning; each forwards to the
// export of the same name on the object's own port unless noted.
class CVidmux {
public:
    virtual ~CVidmux() = default;
    virtual bool GetPort() = 0;
    virtual bool OpenFile(const QString& path) = 0;
    virtual bool CloseFile() = 0;
    // Vemor_Play, then Vemor_RefreshPlay; both must succeed.
    virtual bool Play(VemorRenderWindow* window) = 0;
    virtual bool ReversePlay() = 0;
    virtual bool Pause(bool pause) = 0;
    // Vemor_Stop, then sound off.
    virtual bool Stop() = 0;
    virtual bool Fast() = 0;
    virtual bool Slow() = 0;
    virtual bool GoToStart() = 0;
    // Tries frame n, then n-1, ... down to 1; true at the first the engine takes.
    virtual bool SetFrameOrEarlier(uint32_t frame) = 0;
    virtual bool OneByOne() = 0;
    virtual bool OneByOneBack() = 0;
    virtual bool Reserved1() = 0;
    // On: Vemor_PlaySound then Vemor_SetVolume; off: Vemor_StopSound.
    virtual bool SetSound(bool on, uint16_t volume) = 0;
    virtual bool Reserved2(int32_t, int32_t, int32_t, int32_t) = 0;
    virtual uint32_t GetPlayedTime() = 0;
    virtual uint32_t GetCurrentFrameNum() = 0;
    virtual uint32_t GetFileTime() = 0;
    virtual uint32_t GetFileTotalFrames() = 0;
    virtual bool SetCurrentFrameNum(uint32_t frame) = 0;
    virtual bool SetPlayedTime(uint32_t seconds) = 0;
    virtual bool Reserved3(int32_t, int32_t) = 0;
    virtual void Reserved4() = 0;
    virtual bool SetDeflash(bool on) = 0;
    virtual bool SetPicQuality(bool high) = 0;
    virtual bool SetDisplayType(int32_t type) = 0;
    virtual bool SetTimerType(uint32_t type) = 0;
    virtual bool ThrowBFrameNum(uint32_t count) = 0;
    virtual bool GetBMP(uint8_t* buffer, uint32_t size, uint32_t* outSize) = 0;
    virtual bool GetJPEG(uint8_t* buffer, uint32_t size, uint32_t* outSize) = 0;
    virtual bool SetDisplayRegion(uint32_t region, const VemorRect* rect, VemorRenderWindow* window,
                                  bool enable) = 0;
    virtual bool RefreshPlay() = 0;
    virtual bool RefreshPlayEx(uint32_t region) = 0;
    virtual bool GetPictureSize(int32_t* width, int32_t* height) = 0;
    virtual bool Reserved5(int32_t) = 0;
    virtual void Reserved6(int32_t) = 0;
    virtual bool SetEncChangeMsg(VemorRenderWindow* window) = 0;
    virtual bool SetFileEndMsg(VemorRenderWindow* window) = 0;
    virtual bool SetFileRefCallBack(void* user) = 0;
    virtual bool SetCheckWatermarkCallBack(void* user) = 0;
    virtual bool SetDisplayCallBack() = 0;
    virtual bool SetDecCallBack() = 0;
    virtual bool SetColor(int32_t brightness, int32_t contrast, int32_t saturation,
                          int32_t hue) = 0;
    virtual bool GetKeyFramePos(uint32_t value, uint32_t type, VemorFramePos* position) = 0;
    virtual bool GetNextKeyFramePos(uint32_t value, uint32_t type, VemorFramePos* position) = 0;
    virtual bool RegisterDrawFun(void* user) = 0;
    virtual uint32_t GetSdkVersion() = 0;
    virtual bool EnableIVS(bool on) = 0;
    virtual bool Reserved7() = 0;
    virtual bool RegisterIVSDrawFun(void* user) = 0;
    virtual bool ClearIVSDrawFun() = 0;
    virtual bool ClearDrawFun() = 0;
};
