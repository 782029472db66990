#pragma once

// The one place where the player reaches the engine. Every call goes through
// this table, so a test can make any engine call fail and watch what the
// player logs and which state it keeps.

#include "vidmux.h"

#define ORLIN_ENGINE_FUNCTIONS(X)                                                                  \
    X(GetPort)                                                                                     \
    X(FreePort)                                                                                    \
    X(OpenFile) X(CloseFile) X(GetFileHeadLength) X(GetLastError) X(GetSdkVersion) X(Play)         \
        X(ReversePlay) X(Pause) X(Stop) X(Fast) X(Slow) X(OneByOne) X(OneByOneBack)                \
            X(ThrowBFrameNum) X(SetCurrentFrameNum) X(SetPlayedTimeEx) X(GetFileTotalFrames)       \
                X(GetFileTime) X(GetPlayedTime) X(GetCurrentFrameNum) X(GetSystemTime)             \
                    X(GetKeyFramePos) X(GetNextKeyFramePos) X(GetPictureSize) X(GetBMP) X(GetJPEG) \
                        X(RefreshPlay) X(RefreshPlayEx) X(SetDisplayRegion) X(SetColor)            \
                            X(SetDisplayType) X(SetPicQuality) X(SetDeflash) X(SetTimerType)       \
                                X(PlaySound) X(StopSound) X(PlaySoundShare) X(StopSoundShare) X(   \
                                    SetVolume) X(SetSycGroup) X(SetFileEndMsg) X(SetEncChangeMsg)  \
                                    X(SetDisplayCallBackEx) X(RegisterDrawFun)                     \
                                        X(RegisterIVSDrawFunCB) X(EnableIVS) X(SetFileRefCallBack) \
                                            X(SetCheckWatermarkCallBack) X(SetDecCallBackExMend)   \
                                                X(SetFileEndCallback) X(SetEncTypeChangeCallBack)  \
                                                    X(VIE_SetModuConfig) X(VIE_SetRegion)          \
                                                        X(VIE_SetParaConfig)

// Members are named after the exports without their prefix:
// Engine().Play(port, window) calls Vemor_Play.
struct EngineApi {
#define ORLIN_ENGINE_MEMBER(name) decltype(&Vemor_##name) name = &Vemor_##name;
    ORLIN_ENGINE_FUNCTIONS(ORLIN_ENGINE_MEMBER)
#undef ORLIN_ENGINE_MEMBER
};

// The process-wide table, filled with the real engine.
EngineApi& Engine();

// Replaces entries of the table for the lifetime of the object (tests).
class ScopedEngineOverride {
public:
    ScopedEngineOverride() : m_saved(Engine()) {}
    ~ScopedEngineOverride() { Engine() = m_saved; }
    ScopedEngineOverride(const ScopedEngineOverride&) = delete;
    ScopedEngineOverride& operator=(const ScopedEngineOverride&) = delete;

private:
    EngineApi m_saved;
};
