#include "umbrel_test_support.h"

#include "samplegen/samplegen.h"

namespace umbreltest {

BgraPicture::BgraPicture(int width, int height) : pixels(static_cast<size_t>(width) * height * 4) {
    picture.pixel = UMBREL_PIXEL_BGRA;
    picture.width = width;
    picture.height = height;
    picture.planes[0] = pixels.data();
    picture.strides[0] = width * 4;
}

int BgraPicture::FrameNumber() const {
    return samplegen::ReadFrameNumber(pixels.data(), picture.width, picture.height,
                                      picture.strides[0]);
}

OpenedFile::OpenedFile(const std::string& path) : m_opened(UMBREL_Open(path.c_str(), &m_handle)) {}

OpenedFile::~OpenedFile() {
    if (m_opened == UMBREL_OK) UMBREL_Close(m_handle);
}

}  // namespace umbreltest
