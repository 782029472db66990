// The engine copied alone into a folder, without the enhancement library
// beside it. This program does not link the engine: it loads the copy, so
// the engine finds its neighbours where the copy lies.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "samplegen/samplegen.h"
#include "vidmux.h"

namespace fs = std::filesystem;

namespace {

template <typename Function>
Function Entry(void* module, const char* name) {
    auto function = reinterpret_cast<Function>(dlsym(module, name));
    EXPECT_NE(function, nullptr) << name;
    return function;
}

TEST(MissingEnhancer, EnhancementCallsFailWithTheirCodeAndThePictureStaysAsDecoded) {
    const fs::path folder = fs::temp_directory_path() / ("orlin-no-lumora-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path engine = fs::path(ORLIN_ENGINE_FILE);
    ASSERT_TRUE(fs::exists(engine.parent_path() / "liblumora.so")) << "the build has the library";
    fs::copy_file(engine, folder / "libvidmux.so.1");
    ASSERT_FALSE(fs::exists(folder / "liblumora.so"));

    samplegen::SampleParams params;
    params.width = 160;
    params.height = 120;
    const std::string sample = (folder / "sample.imx").string();
    ASSERT_TRUE(samplegen::WriteSample(sample, params));

    void* module = dlopen((folder / "libvidmux.so.1").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto getPort = Entry<decltype(&Vemor_GetPort)>(module, "Vemor_GetPort");
    auto freePort = Entry<decltype(&Vemor_FreePort)>(module, "Vemor_FreePort");
    auto openFile = Entry<decltype(&Vemor_OpenFile)>(module, "Vemor_OpenFile");
    auto setFrame = Entry<decltype(&Vemor_SetCurrentFrameNum)>(module, "Vemor_SetCurrentFrameNum");
    auto getBmp = Entry<decltype(&Vemor_GetBMP)>(module, "Vemor_GetBMP");
    auto lastError = Entry<decltype(&Vemor_GetLastError)>(module, "Vemor_GetLastError");
    auto modules = Entry<decltype(&Vemor_VIE_SetModuConfig)>(module, "Vemor_VIE_SetModuConfig");
    auto region = Entry<decltype(&Vemor_VIE_SetRegion)>(module, "Vemor_VIE_SetRegion");
    auto block = Entry<decltype(&Vemor_VIE_SetParaConfig)>(module, "Vemor_VIE_SetParaConfig");
    ASSERT_TRUE(getPort && freePort && openFile && setFrame && getBmp && lastError && modules &&
                region && block);

    int32_t port = -1;
    ASSERT_TRUE(getPort(&port));
    ASSERT_TRUE(openFile(port, sample.c_str()));
    ASSERT_TRUE(setFrame(port, 10) || lastError(port) == VIDMUX_ERR_NO_INDEX);
    auto snapshot = [&] {
        std::vector<uint8_t> buffer(1 << 20);
        uint32_t size = 0;
        EXPECT_TRUE(getBmp(port, buffer.data(), static_cast<uint32_t>(buffer.size()), &size));
        buffer.resize(size);
        return buffer;
    };
    const std::vector<uint8_t> before = snapshot();

    std::array<int32_t, VIDMUX_VIE_PARAM_BYTES / 4> params72{};
    params72[0] = 0xFF;
    params72[1] = 255;
    EXPECT_FALSE(modules(port, 0xFF, 1));
    EXPECT_EQ(lastError(port), static_cast<uint32_t>(VIDMUX_ERR_NO_ENHANCER));
    EXPECT_FALSE(block(port, params72.data()));
    EXPECT_EQ(lastError(port), static_cast<uint32_t>(VIDMUX_ERR_NO_ENHANCER));
    EXPECT_FALSE(region(port, 0, nullptr));
    EXPECT_EQ(lastError(port), static_cast<uint32_t>(VIDMUX_ERR_NO_ENHANCER));

    const std::vector<uint8_t> after = snapshot();
    EXPECT_EQ(after, before);
    EXPECT_GE(samplegen::ReadFrameNumberFromImage(after.data(), after.size()), 0);
    EXPECT_TRUE(freePort(port));
    fs::remove_all(folder);
}

}  // namespace
