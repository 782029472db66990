#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "vidmux.h"

// The 100-byte time information the file-analysis library fills for one
// recording. The player reads only the start time record (byte 44) and the
// end time record (byte 72).
inline constexpr int kFileTimeInfoBytes = 100;
inline constexpr int kFileStartTimeOffset = 44;
inline constexpr int kFileEndTimeOffset = 72;
using FileTimeInfo = std::array<uint8_t, kFileTimeInfoBytes>;

VemorSystemTime FileStartTime(const FileTimeInfo& info);
VemorSystemTime FileEndTime(const FileTimeInfo& info);
void SetFileStartTime(FileTimeInfo* pInfo, const VemorSystemTime& time);
void SetFileEndTime(FileTimeInfo* pInfo, const VemorSystemTime& time);

// A record whose start and end dates are 1998-01-01 (nothing synchronised yet).
FileTimeInfo EmptyFileTimeInfo();

// One file of a synchronised group.
struct SyncFileEntry {
    int32_t nSubIndex = -1;  // pane index
    int32_t lPort = -1;
    QString strPath;
    FileTimeInfo stInfo{};
    int64_t nStartSec = 0;  // seconds since 0001-01-01 00:00:00
    int64_t nEndSec = 0;
};
