#pragma once

#include "tools/mediaprobe/byte_source.h"

struct MediaProbeResult;

// Walks the file as MP4 boxes: the top-level boxes until "moov", then each
// "trak" down to its sample description ("mdia", "minf", "stbl", "stsd"). Boxes
// are found by reading their headers only, so a large "mdat" in front of
// "moov" costs one read. Returns true (system format 3GP) when "moov" was
// found; a single-entry sample description of "avc1", "mp4v" or "samr" also
// gives the video or audio format.
bool WalkBoxes(const ByteSource& source, MediaProbeResult* pResult);
