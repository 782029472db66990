#pragma once

#include "tools/mediaprobe/byte_view.h"

struct MediaProbeResult;

// Walks an MPEG program stream from its first byte, unit by unit, until it
// reads a program stream map after a valid pack header; the map's entries give
// the video and audio formats. Returns true when a map was read.
bool ScanProgramStream(ByteView data, MediaProbeResult* pResult);
