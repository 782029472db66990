#pragma once

#include <cstdint>
#include <string>

namespace bench {

// Writes `target` of at least `bytes` by repeating the recording `source`:
// a recorder file keeps its head once and repeats its program stream (each
// repetition starts its timestamps again, like pasted exports); other files
// are remuxed, with the timestamps running on, into a Matroska file when
// `target` ends in ".mkv" and into an MP4 otherwise.
bool WriteBigRecording(const std::string& source, const std::string& target, int64_t bytes);

}  // namespace bench
