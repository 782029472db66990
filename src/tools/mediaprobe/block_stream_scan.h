#pragma once

#include "tools/mediaprobe/byte_view.h"

struct MediaProbeResult;

// Scans the recorders' private block stream: 48-byte block headers, each
// followed by up to a few sub-blocks of a 20-byte header and a payload. The
// first video block's picture sub-block gives the video format, the first
// audio block's sound sub-block of a known length the audio format. Returns
// true when either was found.
bool ScanBlockStream(ByteView data, MediaProbeResult* pResult);
