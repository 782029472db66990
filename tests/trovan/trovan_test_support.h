#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "player_params.h"
#include "samplegen/samplegen.h"
#include "trovan.h"

namespace trovantest {

// What an AVI file holds, read with libavformat.
struct AviContents {
    bool opened = false;
    std::string format;
    int videoCodec = 0;  // AVCodecID
    int width = 0, height = 0;
    double frameRate = 0;
    int pictures = 0;
    int soundCodec = 0;  // AVCodecID, 0 without sound
    double soundSeconds = 0;
};
AviContents ReadAvi(const std::string& path);

// The frame numbers shown by the AVI's pictures, read inside `x, y, width, height`
// of each picture (the whole picture when width is 0).
std::vector<int> ShownFrames(const std::string& path, int x = 0, int y = 0, int width = 0,
                             int height = 0);

// A folder of its own for each test, removed afterwards.
class OutputFolder {
public:
    OutputFolder();
    ~OutputFolder();
    std::string Path(const std::string& name) const { return (m_path / name).string(); }
    std::vector<std::string> Files() const;

private:
    std::filesystem::path m_path;
};

// Runs a whole conversion on a fresh handle; returns the last result of
// TROVAN_GetConvertPerc and every percentage seen.
int Convert(const std::string& source, const std::string& target, const TrovanParams& params,
            std::vector<int>* percents = nullptr);

}  // namespace trovantest
