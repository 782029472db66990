#pragma once

#include <string>
#include <vector>

#include "samplegen/samplegen.h"

namespace kelsatest {

// A recording written for the test: 160x120 at 25 pictures per second.
std::string Recording(const std::string& name, samplegen::Container container, int frames,
                      bool audio, bool bFrames = false, int width = 160, int height = 120);

struct PacketTimes {
    std::vector<double> videoDts, videoPts;  // seconds, in file order
    std::vector<double> audioDts, audioEnd;  // seconds: start and end of each sound packet
    bool hasAudio = false;
};
PacketTimes ReadPacketTimes(const std::string& path);

// Frame numbers drawn in the pictures, in showing order.
std::vector<int> ShownNumbers(const std::string& path);
// Showing times of the pictures in seconds from the first.
std::vector<double> ShownSeconds(const std::string& path);

// 0..count-1 appended to `numbers`.
void AppendRun(std::vector<int>* numbers, int count);

// A handle with `files` listed (each with its duration in ms); -1 when any add fails.
int32_t ListedHandle(const std::vector<std::pair<std::string, int32_t>>& files);

// Names in `folder`, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

}  // namespace kelsatest
