#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/mediaprobe/byte_source.h"
#include "tools/mediaprobe/media_probe_result.h"

// How much of the start of a file the probe looks at for heads and streams.
inline constexpr size_t kMediaProbeHeadBytes = 1048576;

// The media probe: tells the system, video and audio formats of a recording
// from its bytes. `head` holds the first bytes of the source (up to
// kMediaProbeHeadBytes); the MP4 box walk reads further through `source`.
// Stages, each done when it recognises the file: a known media head, the
// recorders' block stream, an MPEG program stream, an MPEG transport stream,
// MP4 boxes. The result is cleared first. Returns true when a stage
// recognised the file. Safe on any bytes.
bool MediaProbe(ByteView head, const ByteSource& source, MediaProbeResult* pResult);

// The probe over bytes in memory.
bool MediaProbeBytes(const uint8_t* pData, size_t nSize, MediaProbeResult* pResult);
