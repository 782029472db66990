#include "playback/tavel_ctrl.h"

#include <cstring>

#include "playback/engine_api.h"

namespace {

// Messages posted to a window given to SetFileEndMsg / SetEncChangeMsg.
constexpr uint32_t kFileEndMessage = VIDMUX_MSG_FILE_END;
constexpr uint32_t kEncChangeMessage = VIDMUX_MSG_ENC_CHANGE;

void OnIndexBuilt(int32_t, void* user) { static_cast<TavelUserRecord*>(user)->bIndexBuilt = 1; }

void OnWatermark(int32_t, const uint8_t** data, void* user) {
    if (!data || !*data) return;
    auto* record = static_cast<TavelUserRecord*>(user);
    std::lock_guard lock(record->watermarkMutex);
    std::memcpy(record->watermark.data(), *data, VIDMUX_WATERMARK_BYTES);
}

void IgnoreDisplay(const VemorDisplayInfo*) {}
void IgnoreDecode(int32_t, const uint8_t*, int32_t, const VemorFrameInfo*, void*, int32_t) {}
void IgnoreDraw(int32_t, VemorDrawContext*, void*) {}
void IgnoreIvsDraw(int32_t, VemorDrawContext*, void*, int32_t, void*) {}

}  // namespace

CTavelCtrl::~CTavelCtrl() {
    if (m_lPort < 0) return;
    Engine().Stop(m_lPort);
    if (Engine().FreePort(m_lPort)) m_lPort = -1;
}

bool CTavelCtrl::GetPort() { return Engine().GetPort(&m_lPort) != 0; }

bool CTavelCtrl::OpenFile(const QString& path) {
    const QByteArray utf8 = path.toUtf8();
    return Engine().OpenFile(m_lPort, utf8.constData()) != 0;
}

bool CTavelCtrl::CloseFile() { return Engine().CloseFile(m_lPort) != 0; }

bool CTavelCtrl::Play(VemorRenderWindow* window) {
    return Engine().Play(m_lPort, window) && Engine().RefreshPlay(m_lPort);
}

bool CTavelCtrl::ReversePlay() { return Engine().ReversePlay(m_lPort) != 0; }
bool CTavelCtrl::Pause(bool pause) { return Engine().Pause(m_lPort, pause ? 1 : 0) != 0; }

bool CTavelCtrl::Stop() {
    if (!Engine().Stop(m_lPort)) return false;
    return SetSound(false, 0);
}

bool CTavelCtrl::Fast() { return Engine().Fast(m_lPort) != 0; }
bool CTavelCtrl::Slow() { return Engine().Slow(m_lPort) != 0; }
bool CTavelCtrl::GoToStart() { return Engine().SetCurrentFrameNum(m_lPort, 0) != 0; }

bool CTavelCtrl::SetFrameOrEarlier(uint32_t frame) {
    for (uint32_t n = frame; n >= 1; --n) {
        if (Engine().SetCurrentFrameNum(m_lPort, n)) return true;
    }
    return false;
}

bool CTavelCtrl::OneByOne() { return Engine().OneByOne(m_lPort) != 0; }
bool CTavelCtrl::OneByOneBack() { return Engine().OneByOneBack(m_lPort) != 0; }

bool CTavelCtrl::SetSound(bool on, uint16_t volume) {
    if (!on) return Engine().StopSound() != 0;
    return Engine().PlaySound(m_lPort) && Engine().SetVolume(m_lPort, volume);
}

uint32_t CTavelCtrl::GetPlayedTime() { return Engine().GetPlayedTime(m_lPort); }
uint32_t CTavelCtrl::GetCurrentFrameNum() { return Engine().GetCurrentFrameNum(m_lPort); }
uint32_t CTavelCtrl::GetFileTime() { return Engine().GetFileTime(m_lPort); }
uint32_t CTavelCtrl::GetFileTotalFrames() { return Engine().GetFileTotalFrames(m_lPort); }

bool CTavelCtrl::SetCurrentFrameNum(uint32_t frame) {
    return Engine().SetCurrentFrameNum(m_lPort, frame) != 0;
}

bool CTavelCtrl::SetPlayedTime(uint32_t seconds) {
    return Engine().SetPlayedTimeEx(m_lPort, seconds * 1000) != 0;
}

bool CTavelCtrl::SetDeflash(bool on) { return Engine().SetDeflash(m_lPort, on) != 0; }
bool CTavelCtrl::SetPicQuality(bool high) { return Engine().SetPicQuality(m_lPort, high) != 0; }
bool CTavelCtrl::SetDisplayType(int32_t type) {
    return Engine().SetDisplayType(m_lPort, type) != 0;
}
bool CTavelCtrl::SetTimerType(uint32_t type) {
    return Engine().SetTimerType(m_lPort, type, 0) != 0;
}
bool CTavelCtrl::ThrowBFrameNum(uint32_t count) {
    return Engine().ThrowBFrameNum(m_lPort, count) != 0;
}

bool CTavelCtrl::GetBMP(uint8_t* buffer, uint32_t size, uint32_t* outSize) {
    return Engine().GetBMP(m_lPort, buffer, size, outSize) != 0;
}

bool CTavelCtrl::GetJPEG(uint8_t* buffer, uint32_t size, uint32_t* outSize) {
    return Engine().GetJPEG(m_lPort, buffer, size, outSize) != 0;
}

bool CTavelCtrl::SetDisplayRegion(uint32_t region, const VemorRect* rect, VemorRenderWindow* window,
                                  bool enable) {
    return Engine().SetDisplayRegion(m_lPort, region, rect, window, enable) != 0;
}

bool CTavelCtrl::RefreshPlay() { return Engine().RefreshPlay(m_lPort) != 0; }
bool CTavelCtrl::RefreshPlayEx(uint32_t region) {
    return Engine().RefreshPlayEx(m_lPort, region) != 0;
}

bool CTavelCtrl::GetPictureSize(int32_t* width, int32_t* height) {
    return Engine().GetPictureSize(m_lPort, width, height) != 0;
}

bool CTavelCtrl::SetEncChangeMsg(VemorRenderWindow* window) {
    return Engine().SetEncChangeMsg(m_lPort, window, kEncChangeMessage) != 0;
}

bool CTavelCtrl::SetFileEndMsg(VemorRenderWindow* window) {
    return Engine().SetFileEndMsg(m_lPort, window, kFileEndMessage) != 0;
}

bool CTavelCtrl::SetFileRefCallBack(void* user) {
    return Engine().SetFileRefCallBack(m_lPort, &OnIndexBuilt, user) != 0;
}

bool CTavelCtrl::SetCheckWatermarkCallBack(void* user) {
    return Engine().SetCheckWatermarkCallBack(m_lPort, &OnWatermark, user) != 0;
}

bool CTavelCtrl::SetDisplayCallBack() {
    return Engine().SetDisplayCallBackEx(m_lPort, &IgnoreDisplay, nullptr) != 0;
}

bool CTavelCtrl::SetDecCallBack() {
    return Engine().SetDecCallBackExMend(m_lPort, &IgnoreDecode, nullptr, 0, nullptr) != 0;
}

bool CTavelCtrl::SetColor(int32_t brightness, int32_t contrast, int32_t saturation, int32_t hue) {
    return Engine().SetColor(m_lPort, 0, brightness, contrast, saturation, hue) != 0;
}

bool CTavelCtrl::GetKeyFramePos(uint32_t value, uint32_t type, VemorFramePos* position) {
    return Engine().GetKeyFramePos(m_lPort, value, type, position) != 0;
}

bool CTavelCtrl::GetNextKeyFramePos(uint32_t value, uint32_t type, VemorFramePos* position) {
    return Engine().GetNextKeyFramePos(m_lPort, value, type, position) != 0;
}

bool CTavelCtrl::RegisterDrawFun(void* user) {
    return Engine().RegisterDrawFun(m_lPort, &IgnoreDraw, user) != 0;
}

uint32_t CTavelCtrl::GetSdkVersion() { return Engine().GetSdkVersion(); }
bool CTavelCtrl::EnableIVS(bool on) { return Engine().EnableIVS(m_lPort, on) != 0; }

bool CTavelCtrl::RegisterIVSDrawFun(void* user) {
    return Engine().RegisterIVSDrawFunCB(m_lPort, &IgnoreIvsDraw, user) != 0;
}

bool CTavelCtrl::ClearIVSDrawFun() {
    return Engine().RegisterIVSDrawFunCB(m_lPort, nullptr, nullptr) != 0;
}
bool CTavelCtrl::ClearDrawFun() { return Engine().RegisterDrawFun(m_lPort, nullptr, nullptr) != 0; }
