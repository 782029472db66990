#include "playback/sync_file_info.h"

#include <cstring>

static_assert(sizeof(VemorSystemTime) == 28, "a time record is seven 32-bit fields");

VemorSystemTime FileStartTime(const FileTimeInfo& info) {
    VemorSystemTime time{};
    std::memcpy(&time, info.data() + kFileStartTimeOffset, sizeof time);
    return time;
}

VemorSystemTime FileEndTime(const FileTimeInfo& info) {
    VemorSystemTime time{};
    std::memcpy(&time, info.data() + kFileEndTimeOffset, sizeof time);
    return time;
}

void SetFileStartTime(FileTimeInfo* pInfo, const VemorSystemTime& time) {
    std::memcpy(pInfo->data() + kFileStartTimeOffset, &time, sizeof time);
}

void SetFileEndTime(FileTimeInfo* pInfo, const VemorSystemTime& time) {
    std::memcpy(pInfo->data() + kFileEndTimeOffset, &time, sizeof time);
}

FileTimeInfo EmptyFileTimeInfo() {
    FileTimeInfo info{};
    const VemorSystemTime day{1998, 1, 1, 0, 0, 0, 0};
    SetFileStartTime(&info, day);
    SetFileEndTime(&info, day);
    return info;
}
