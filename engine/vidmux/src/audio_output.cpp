#include "audio_output.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace vidmux {

namespace {

// Sound is held at most this far ahead of the clock; older blocks are dropped
// so a port that stalls does not build up a backlog.
constexpr size_t kMaxQueuedSamples = kAudioRate * kAudioChannels * 3;
// Sound later than this behind the clock is dropped instead of played.
constexpr int64_t kLateDropMs = 200;
// The device buffer: about 20 ms at 48 kHz.
constexpr int kDeviceBufferFrames = 1024;

}  // namespace

AudioOutput& AudioOutput::Instance() {
    // Never destroyed: ports may still be closing while the process exits.
    static AudioOutput* output = new AudioOutput;
    return *output;
}

void AudioOutput::EnsureDevice() {
    // Never called with m_mutex held: SDL holds its device lock while it
    // calls Mix, which takes m_mutex, so the opposite order could deadlock.
    std::lock_guard lock(m_deviceMutex);
    if (m_deviceTried) return;
    m_deviceTried = true;
    // The engine lives inside other programs: SDL must not take over their
    // SIGINT and SIGTERM, which it would otherwise turn into an event nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    SDL_AudioSpec want{};
    want.freq = kAudioRate;
    want.format = AUDIO_S16SYS;
    want.channels = kAudioChannels;
    want.samples = kDeviceBufferFrames;
    want.callback = &AudioOutput::MixCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (m_device != 0) SDL_PauseAudioDevice(m_device, 0);
}

bool AudioOutput::DeviceAvailable() {
    EnsureDevice();
    std::lock_guard lock(m_deviceMutex);
    return m_device != 0;
}

void AudioOutput::SetExclusive(int port) {
    if (port >= 0) EnsureDevice();
    std::lock_guard lock(m_mutex);
    m_exclusive = port;
}

void AudioOutput::SetShared(int port, bool on) {
    if (on) EnsureDevice();
    std::lock_guard lock(m_mutex);
    m_ports[port].shared = on;
}

void AudioOutput::SetVolume(int port, uint16_t volume) {
    std::lock_guard lock(m_mutex);
    m_ports[port].volume = volume;
}

bool AudioOutput::Audible(int port) {
    std::lock_guard lock(m_mutex);
    if (m_exclusive >= 0) return m_exclusive == port;
    auto it = m_ports.find(port);
    return it != m_ports.end() && it->second.shared;
}

void AudioOutput::SetClock(int port, const PlayClock* clock) {
    std::lock_guard lock(m_mutex);
    PortSound& sound = m_ports[port];
    sound.running = clock != nullptr;
    if (clock) sound.clock = *clock;
}

void AudioOutput::Push(int port, AudioBlock&& block) {
    std::lock_guard lock(m_mutex);
    PortSound& sound = m_ports[port];
    sound.queuedSamples += block.samples.size();
    sound.queue.push_back(std::move(block));
    while (sound.queuedSamples > kMaxQueuedSamples && sound.queue.size() > 1) {
        sound.queuedSamples -= sound.queue.front().samples.size() - sound.frontOffset;
        sound.queue.pop_front();
        sound.frontOffset = 0;
    }
}

void AudioOutput::Flush(int port) {
    std::lock_guard lock(m_mutex);
    auto it = m_ports.find(port);
    if (it == m_ports.end()) return;
    it->second.queue.clear();
    it->second.frontOffset = 0;
    it->second.queuedSamples = 0;
}

void AudioOutput::Forget(int port) {
    std::lock_guard lock(m_mutex);
    m_ports.erase(port);
    if (m_exclusive == port) m_exclusive = -1;
}

void AudioOutput::MixCallback(void* self, uint8_t* stream, int bytes) {
    static_cast<AudioOutput*>(self)->Mix(reinterpret_cast<int16_t*>(stream),
                                         static_cast<size_t>(bytes) / sizeof(int16_t));
}

void AudioOutput::Mix(int16_t* out, size_t samples) {
    std::lock_guard lock(m_mutex);
    m_mixBuffer.assign(samples, 0);
    for (auto& [port, sound] : m_ports) {
        const bool audible = m_exclusive >= 0 ? m_exclusive == port : sound.shared;
        if (audible && sound.running) MixPort(sound, m_mixBuffer.data(), samples);
    }
    for (size_t i = 0; i < samples; ++i) {
        out[i] = static_cast<int16_t>(std::clamp(m_mixBuffer[i], -32768, 32767));
    }
}

void AudioOutput::MixPort(PortSound& sound, int32_t* mix, size_t samples) {
    const int64_t now = sound.clock.MediaAt(SteadyClock::now());
    // Drop what the clock has already passed.
    while (!sound.queue.empty()) {
        const AudioBlock& front = sound.queue.front();
        const int64_t endMs =
            front.timeMs +
            static_cast<int64_t>(front.samples.size() / kAudioChannels) * 1000 / kAudioRate;
        if (endMs >= now - kLateDropMs) break;
        sound.queuedSamples -= front.samples.size() - sound.frontOffset;
        sound.queue.pop_front();
        sound.frontOffset = 0;
    }
    // Nothing is played before its time has come.
    if (sound.queue.empty() || sound.queue.front().timeMs > now) return;
    size_t written = 0;
    while (written < samples && !sound.queue.empty()) {
        AudioBlock& front = sound.queue.front();
        const size_t take = std::min(samples - written, front.samples.size() - sound.frontOffset);
        for (size_t i = 0; i < take; ++i) {
            mix[written + i] += front.samples[sound.frontOffset + i] * sound.volume / 0xFFFF;
        }
        written += take;
        sound.frontOffset += take;
        sound.queuedSamples -= take;
        if (sound.frontOffset == front.samples.size()) {
            sound.queue.pop_front();
            sound.frontOffset = 0;
        }
    }
}

}  // namespace vidmux
