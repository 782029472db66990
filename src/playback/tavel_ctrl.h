#pragma once

#include <array>
#include <atomic>
#include <mutex>

#include "playback/vidmux_wrapper.h"

// What the engine's callbacks report to a CTavelCtrl user: whether the frame
// index is built, and the last watermark. Written on the engine's threads.
struct TavelUserRecord {
    std::atomic<uint8_t> bIndexBuilt{0};
    std::mutex watermarkMutex;
    std::array<uint8_t, 64> watermark{};  // the 17-byte record at its start
};

class CTavelCtrl final : public CVidmux {
public:
    CTavelCtrl() = default;
    // Stops playback and frees the port; the port becomes -1 only if freeing succeeds.
    ~CTavelCtrl() override;
    CTavelCtrl(const CTavelCtrl&) = delete;
    CTavelCtrl& operator=(const CTavelCtrl&) = delete;

    int32_t Port() const { return m_lPort; }

    bool GetPort() override;
    bool OpenFile(const QString& path) override;
    bool CloseFile() override;
    bool Play(VemorRenderWindow* window) override;
    bool ReversePlay() override;
    bool Pause(bool pause) override;
    bool Stop() override;
    bool Fast() override;
    bool Slow() override;
    bool GoToStart() override;
    bool SetFrameOrEarlier(uint32_t frame) override;
    bool OneByOne() override;
    bool OneByOneBack() override;
    bool Reserved1() override { return true; }
    bool SetSound(bool on, uint16_t volume) override;
    bool Reserved2(int32_t, int32_t, int32_t, int32_t) override { return true; }
    uint32_t GetPlayedTime() override;
    uint32_t GetCurrentFrameNum() override;
    uint32_t GetFileTime() override;
    uint32_t GetFileTotalFrames() override;
    bool SetCurrentFrameNum(uint32_t frame) override;
    bool SetPlayedTime(uint32_t seconds) override;
    bool Reserved3(int32_t, int32_t) override { return true; }
    void Reserved4() override {}
    bool SetDeflash(bool on) override;
    bool SetPicQuality(bool high) override;
    bool SetDisplayType(int32_t type) override;
    bool SetTimerType(uint32_t type) override;
    bool ThrowBFrameNum(uint32_t count) override;
    bool GetBMP(uint8_t* buffer, uint32_t size, uint32_t* outSize) override;
    bool GetJPEG(uint8_t* buffer, uint32_t size, uint32_t* outSize) override;
    bool SetDisplayRegion(uint32_t region, const VemorRect* rect, VemorRenderWindow* window,
                          bool enable) override;
    bool RefreshPlay() override;
    bool RefreshPlayEx(uint32_t region) override;
    bool GetPictureSize(int32_t* width, int32_t* height) override;
    bool Reserved5(int32_t) override { return true; }
    void Reserved6(int32_t) override {}
    bool SetEncChangeMsg(VemorRenderWindow* window) override;
    bool SetFileEndMsg(VemorRenderWindow* window) override;
    // `user` must point at a TavelUserRecord that outlives the port's file.
    bool SetFileRefCallBack(void* user) override;
    bool SetCheckWatermarkCallBack(void* user) override;
    bool SetDisplayCallBack() override;
    bool SetDecCallBack() override;
    bool SetColor(int32_t brightness, int32_t contrast, int32_t saturation, int32_t hue) override;
    bool GetKeyFramePos(uint32_t value, uint32_t type, VemorFramePos* position) override;
    bool GetNextKeyFramePos(uint32_t value, uint32_t type, VemorFramePos* position) override;
    bool RegisterDrawFun(void* user) override;
    uint32_t GetSdkVersion() override;
    bool EnableIVS(bool on) override;
    bool Reserved7() override { return true; }
    bool RegisterIVSDrawFun(void* user) override;
    bool ClearIVSDrawFun() override;
    bool ClearDrawFun() override;

private:
    int32_t m_lPort = -1;
};
