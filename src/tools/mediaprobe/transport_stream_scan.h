#pragma once

#include "tools/mediaprobe/byte_view.h"

struct MediaProbeResult;

// Walks MPEG transport stream packets from the first byte: the programme
// association table names the programme map's PID, whose entries give the
// video and audio formats. Returns true once the last section of a programme
// map was read.
bool ScanTransportStream(ByteView data, MediaProbeResult* pResult);
