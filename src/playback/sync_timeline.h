#pragma once

#include <cstdint>
#include <vector>

#include "playback/sync_file_info.h"
#include "vidmux.h"

// The synchronous timeline and the arithmetic around it, apart from widgets
// and the engine.

// Picks the record with the earliest start and the one with the latest end
// (to the millisecond; among equal keys the later file wins) and checks that
// every pair of files overlaps strictly. False for no records, more than 16,
// or a pair that does not overlap.
bool GetSyncTimeSpan(const std::vector<FileTimeInfo>& records, FileTimeInfo* pEarliest,
                     FileTimeInfo* pLatest);

// The timeline runs from 00:00:00.000 of the earliest start's day to
// 23:59:59.000 of the latest end's day.
struct SyncTimeline {
    VemorSystemTime stStart{};
    VemorSystemTime stEnd{};
};
SyncTimeline MakeSyncTimeline(const VemorSystemTime& earliestStart,
                              const VemorSystemTime& latestEnd);

// Seconds since 0001-01-01 00:00:00.
int64_t SecondsSinceYearOne(const VemorSystemTime& time);

// What repositioning to time t does with one file of the group.
enum class SyncSeekAction {
    None,     // nothing to do
    SeekTo,   // t lies inside the file: show the picture recorded at t
    ToStart,  // t lies before the file: wait at its first picture
    ToEnd,    // t lies after the file: park at its last picture, inactive
};
struct SyncSeekStep {
    SyncSeekAction eAction = SyncSeekAction::None;
    uint32_t nMilliseconds = 0;  // SeekTo: t - file start
};
SyncSeekStep PlanSyncSeek(const VemorSystemTime& fileStart, const VemorSystemTime& fileEnd,
                          const VemorSystemTime& time);
