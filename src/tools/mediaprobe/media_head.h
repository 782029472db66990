#pragma once

#include "tools/mediaprobe/byte_view.h"

struct MediaProbeResult;

// The media-information heads recordings start with: the 40-byte "IMXV" head
// and the four older ones ("4VXV", "4MXV", "2MSV", "4MSV"). Fills the result
// from a known head and returns true; false (result untouched) otherwise.
bool ReadMediaHead(ByteView head, MediaProbeResult* pResult);
