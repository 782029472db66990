#pragma once

#include <functional>
#include <string>

// The program's debug channel: one formatted line per call, at most 255 bytes
// of text (longer lines are cut). Silent unless the environment variable
// ORLIN_DEBUG is 1, which writes each line to standard error. Tests install a
// sink to observe behaviour that shows only as log lines.
void DebugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

using DebugLogSink = std::function<void(const std::string& line)>;

// Replaces the destination of DebugLog; an empty sink restores the default.
// Safe to call while other threads log.
void SetDebugLogSink(DebugLogSink sink);
