#include "engine_test_support.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <thread>

namespace enginetest {

namespace fs = std::filesystem;

SampleFolder::SampleFolder() {
    m_root =
        (fs::path(testing::TempDir()) / ("vidmux-samples-" + std::to_string(::getpid()))).string();
    fs::create_directories(m_root);
}

SampleFolder& SampleFolder::Instance() {
    static SampleFolder folder;
    return folder;
}

std::string SampleFolder::Path(const std::string& name) const { return m_root + "/" + name; }

std::string SampleFolder::Get(const std::string& name, const samplegen::SampleParams& params) {
    const std::string path = Path(name);
    if (!fs::exists(path)) {
        std::string error;
        EXPECT_TRUE(samplegen::WriteSample(path, params, &error)) << name << ": " << error;
    }
    return path;
}

samplegen::SampleParams SmallParams(samplegen::Container container, bool bFrames) {
    samplegen::SampleParams params;
    params.container = container;
    params.width = 160;
    params.height = 120;
    params.frameCount = 50;
    params.gop = 25;
    params.bFrames = bFrames;
    return params;
}

std::string SmallSample(samplegen::Container container, bool bFrames) {
    static const char* names[] = {"small.imx", "small.264", "small.mp4", "small.ts", "small.mkv"};
    std::string name = names[static_cast<int>(container)];
    if (bFrames) name = "b-" + name;
    return SampleFolder::Instance().Get(name, SmallParams(container, bFrames));
}

PortGuard::PortGuard() { EXPECT_TRUE(Vemor_GetPort(&m_port)); }

PortGuard::~PortGuard() {
    if (m_port >= 0) Vemor_FreePort(m_port);
}

namespace {
void MarkIndexed(int32_t, void* user) { static_cast<std::atomic<bool>*>(user)->store(true); }
}  // namespace

void OpenIndexed(int32_t port, const std::string& path) {
    static std::atomic<bool> flags[VIDMUX_MAX_PORTS];
    std::atomic<bool>& indexed = flags[port];
    indexed = false;
    ASSERT_TRUE(Vemor_SetFileRefCallBack(port, &MarkIndexed, &indexed));
    ASSERT_TRUE(Vemor_OpenFile(port, path.c_str()))
        << path << " error " << Vemor_GetLastError(port);
    ASSERT_TRUE(WaitFor([&] { return indexed.load(); }, std::chrono::seconds(20)))
        << "frame index of " << path << " never built";
}

int ShownFrame(int32_t port) {
    std::vector<uint8_t> buffer(8 << 20);
    uint32_t size = 0;
    if (!Vemor_GetBMP(port, buffer.data(), static_cast<uint32_t>(buffer.size()), &size)) return -2;
    return samplegen::ReadFrameNumberFromImage(buffer.data(), size);
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return condition();
}

CapturingWindow::CapturingWindow(int width, int height) : m_width(width), m_height(height) {
    m_window.user = this;
    m_window.get_size = &CapturingWindow::GetSize;
    m_window.present = &CapturingWindow::Present;
}

int32_t CapturingWindow::GetSize(void* user, int32_t* width, int32_t* height) {
    auto* self = static_cast<CapturingWindow*>(user);
    *width = self->m_width;
    *height = self->m_height;
    return 1;
}

void CapturingWindow::Present(void* user, const uint8_t* pixels, int32_t width, int32_t height,
                              int32_t stride) {
    auto* self = static_cast<CapturingWindow*>(user);
    const int frame = samplegen::ReadFrameNumber(pixels, width, height, stride);
    std::lock_guard lock(self->m_mutex);
    self->m_frames.push_back(frame);
    self->m_last.resize(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        std::memcpy(self->m_last.data() + static_cast<size_t>(y) * width * 4,
                    pixels + static_cast<ptrdiff_t>(y) * stride, static_cast<size_t>(width) * 4);
    }
}

std::vector<int> CapturingWindow::Frames() {
    std::lock_guard lock(m_mutex);
    return m_frames;
}

std::vector<uint8_t> CapturingWindow::LastPixels() {
    std::lock_guard lock(m_mutex);
    return m_last;
}

int CapturingWindow::Presented() {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_frames.size());
}

}  // namespace enginetest
