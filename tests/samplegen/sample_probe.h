#pragma once

// Reads a written sample back the way a player would: demux with libavformat,
// decode every picture, and note what the tests check.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace samplegen_test {

struct ProbedFrame {
    double seconds = 0;  // presentation time from the first picture; -1 when untimed
    bool key = false;
    char type = '?';                                    // 'I', 'P' or 'B'
    int number = -1;                                    // frame number read at full size
    int numberSmall = -1;                               // read after scaling to 64x48
    std::vector<std::vector<uint8_t>> unregisteredSei;  // user data unregistered payloads
    std::vector<uint8_t> pixels;  // 32-bit B,G,R,X at full size, when asked for
};

struct ProbedSample {
    std::string formatName;
    int width = 0, height = 0;
    int fpsNum = 0, fpsDen = 0;  // the video stream's average frame rate
    double durationSeconds = 0;  // of the container
    bool hasAudio = false;
    std::string audioCodec;
    int audioFrames = 0;
    int videoPacketsWithoutPts = 0;  // what a frame index built from demuxing alone must fill in
    std::map<std::string, std::string> tags;
    std::vector<ProbedFrame> frames;  // in presentation order
};

// Recorder files are opened past their 40-byte head as MPEG program streams.
bool ProbeSample(const std::string& path, bool recorder, ProbedSample* out, std::string* error,
                 bool keepPixels = false);

// Picture encodings of a 32-bit B,G,R,X picture, for the image reader.
std::vector<uint8_t> EncodeJpeg(const uint8_t* bgra, int width, int height, int quality);
std::vector<uint8_t> EncodeBmp(const uint8_t* bgra, int width, int height);

// Scales 32-bit pixels to another size (bilinear), stride 4 * width.
std::vector<uint8_t> ScaleBgra(const uint8_t* bgra, int width, int height, int stride, int toWidth,
                               int toHeight);

// A fresh folder under the test temporary folder, removed by the destructor.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    const std::string& Dir() const { return m_dir; }

private:
    std::string m_dir;
};

std::vector<uint8_t> ReadFile(const std::string& path);

}  // namespace samplegen_test
