#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>

#include "media_source.h"
#include "play_clock.h"

namespace vidmux {

// The one sound device of the process, shared by all ports. Exclusive sound
// (one port) wins over shared sound (every sharing port mixed). Each port's
// sound is queued with its media time and leaves the queue when the port's
// clock reaches it, so sound follows the picture clock rather than leading it.
// Without a sound device everything is kept as usual and nothing is heard.
class AudioOutput {
public:
    static AudioOutput& Instance();

    void SetExclusive(int port);  // -1: none
    void SetShared(int port, bool on);
    void SetVolume(int port, uint16_t volume);
    bool Audible(int port);
    bool DeviceAvailable();

    // The port's clock, or none while the port is not playing forward at normal speed.
    void SetClock(int port, const PlayClock* clock);
    void Push(int port, AudioBlock&& block);
    void Flush(int port);
    void Forget(int port);

private:
    struct PortSound {
        std::deque<AudioBlock> queue;
        size_t frontOffset = 0;  // samples of queue.front() already played
        size_t queuedSamples = 0;
        uint16_t volume = 0xFFFF;
        bool shared = false;
        bool running = false;
        PlayClock clock;
    };

    AudioOutput() = default;
    void EnsureDevice();
    static void MixCallback(void* self, uint8_t* stream, int bytes);
    void Mix(int16_t* out, size_t samples);
    void MixPort(PortSound& sound, int32_t* mix, size_t samples);

    std::mutex m_mutex;  // the ports' sound; taken inside SDL's callback
    std::map<int, PortSound> m_ports;
    int m_exclusive = -1;
    std::mutex m_deviceMutex;  // opening the device
    bool m_deviceTried = false;
    uint32_t m_device = 0;
    std::vector<int32_t> m_mixBuffer;
};

}  // namespace vidmux
