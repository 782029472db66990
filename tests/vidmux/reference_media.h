#pragma once

// Files for the damaged-recording tests, written at test time, and what
// FFmpeg's own decoder makes of them.

#include <cstdint>
#include <string>
#include <vector>

namespace enginetest {

std::vector<char> ReadBytes(const std::string& path);
// Writes `bytes` to a file of the sample folder and returns its path.
std::string WriteBytes(const std::string& name, const std::vector<char>& bytes);

// The frame numbers of every picture FFmpeg's decoder gives for the file,
// decoded straight through from its first byte (-1 where no number reads).
std::vector<int> ReferenceFrameNumbers(const std::string& path);

// Copies the video packets [first, first + count) of `source` (in file order)
// into a new file of the muxer `format`, the timestamps of those from
// `shiftFrom` on moved by `shiftSeconds`. Returns false when FFmpeg refuses.
bool Remux(const std::string& source, const std::string& target, const char* format, int first,
           int count, double shiftSeconds, int shiftFrom = 0);

// A Matroska file as a recorder streaming it writes it: the sizes of its
// segment and of every cluster replaced by "unknown" of the same length.
std::vector<char> WithoutMatroskaSizes(std::vector<char> bytes);

// The same (sizes unknown, as WithoutMatroskaSizes writes them) with every
// SimpleBlock written as a BlockGroup: a Block, and a ReferenceBlock unless it
// was a key frame. What follows the last cluster (cues, tags) is left out.
std::vector<char> WithBlockGroups(const std::vector<char>& streamed);

}  // namespace enginetest
