#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "samplegen/samplegen.h"
#include "vidmux.h"

namespace enginetest {

// A folder of sample recordings written once per test program.
class SampleFolder {
public:
    static SampleFolder& Instance();
    // Writes the recording the first time it is asked for; fails the test if it cannot.
    std::string Get(const std::string& name, const samplegen::SampleParams& params);
    std::string Path(const std::string& name) const;

private:
    SampleFolder();
    std::string m_root;
};

// The standard small recording: 160x120, 25 fps, 50 frames, key frame every 25.
samplegen::SampleParams SmallParams(samplegen::Container container, bool bFrames = false);
std::string SmallSample(samplegen::Container container, bool bFrames = false);

// An engine port that is freed when the test ends.
class PortGuard {
public:
    PortGuard();
    ~PortGuard();
    int32_t port() const { return m_port; }
    operator int32_t() const { return m_port; }

private:
    int32_t m_port = -1;
};

// Opens `path` on `port` and waits until the frame index is built.
void OpenIndexed(int32_t port, const std::string& path);

// The frame number shown by the port's current picture, read from a BMP snapshot.
int ShownFrame(int32_t port);

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// A render window that records every picture it is handed.
class CapturingWindow {
public:
    CapturingWindow(int width, int height);
    VemorRenderWindow* window() { return &m_window; }
    std::vector<int> Frames();          // frame numbers read from each presented picture
    std::vector<uint8_t> LastPixels();  // the last picture, width*height*4 bytes
    int Presented();
    int width() const { return m_width; }
    int height() const { return m_height; }
    // The size the engine is told from now on, as when a pane is enlarged.
    void Resize(int width, int height) {
        m_width = width;
        m_height = height;
    }

private:
    static int32_t GetSize(void* user, int32_t* width, int32_t* height);
    static void Present(void* user, const uint8_t* pixels, int32_t width, int32_t height,
                        int32_t stride);

    VemorRenderWindow m_window{};
    std::atomic<int> m_width;
    std::atomic<int> m_height;
    std::mutex m_mutex;
    std::vector<int> m_frames;
    std::vector<uint8_t> m_last;
};

}  // namespace enginetest
