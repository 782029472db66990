#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/mediaprobe/media_probe_result.h"

// Runs the media probe on a file (UTF-8 path). `pWorkBuffer` holds the start
// of the file while the probe runs and must have at least
// kMediaProbeHeadBytes. Only regular files are read; the result is cleared
// first. Returns false when the file cannot be read, the buffer is too small
// or no stage recognised the file.
bool MediaProbeFile(const char* szPath, MediaProbeResult* pResult, uint8_t* pWorkBuffer,
                    size_t nWorkBufferBytes);
