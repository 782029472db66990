#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "umbrel.h"

namespace umbreltest {

// A BGRA buffer that pictures are decoded into.
struct BgraPicture {
    BgraPicture(int width, int height);
    int FrameNumber() const;

    std::vector<uint8_t> pixels;
    UmbrelPicture picture{};
};

// A file opened through the library, closed when the test ends.
class OpenedFile {
public:
    explicit OpenedFile(const std::string& path);
    ~OpenedFile();
    int32_t handle() const { return m_handle; }
    int32_t opened() const { return m_opened; }

private:
    int32_t m_handle = 0;
    int32_t m_opened = UMBREL_ERR_BAD_HANDLE;
};

}  // namespace umbreltest
