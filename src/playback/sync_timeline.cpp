#include "playback/sync_timeline.h"

#include <algorithm>
#include <tuple>

#include "playback/play_helper.h"

namespace {

constexpr size_t kMaxSyncFiles = 16;

auto MillisecondKey(const VemorSystemTime& t) {
    return std::make_tuple(t.dwYear, t.dwMon, t.dwDay, t.dwHour, t.dwMin, t.dwSec, t.dwMs);
}

}  // namespace

bool GetSyncTimeSpan(const std::vector<FileTimeInfo>& records, FileTimeInfo* pEarliest,
                     FileTimeInfo* pLatest) {
    if (records.empty() || records.size() > kMaxSyncFiles || !pEarliest || !pLatest) return false;
    size_t nEarliest = 0;
    size_t nLatest = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        if (MillisecondKey(FileStartTime(records[i])) <=
            MillisecondKey(FileStartTime(records[nEarliest]))) {
            nEarliest = i;
        }
        if (MillisecondKey(FileEndTime(records[i])) >=
            MillisecondKey(FileEndTime(records[nLatest]))) {
            nLatest = i;
        }
    }
    for (size_t m = 0; m < records.size(); ++m) {
        for (size_t k = m + 1; k < records.size(); ++k) {
            const bool bOverlap =
                MillisecondKey(FileStartTime(records[k])) <
                    MillisecondKey(FileEndTime(records[m])) &&
                MillisecondKey(FileStartTime(records[m])) < MillisecondKey(FileEndTime(records[k]));
            if (!bOverlap) return false;
        }
    }
    *pEarliest = records[nEarliest];
    *pLatest = records[nLatest];
    return true;
}

SyncTimeline MakeSyncTimeline(const VemorSystemTime& earliestStart,
                              const VemorSystemTime& latestEnd) {
    SyncTimeline timeline;
    timeline.stStart = {earliestStart.dwYear, earliestStart.dwMon, earliestStart.dwDay, 0, 0, 0, 0};
    timeline.stEnd = {latestEnd.dwYear, latestEnd.dwMon, latestEnd.dwDay, 23, 59, 59, 0};
    return timeline;
}

int64_t SecondsSinceYearOne(const VemorSystemTime& time) {
    const VemorSystemTime yearOne{1, 1, 1, 0, 0, 0, 0};
    return CPlayHelper::GetSecondsBetween(&yearOne, &time);
}

SyncSeekStep PlanSyncSeek(const VemorSystemTime& fileStart, const VemorSystemTime& fileEnd,
                          const VemorSystemTime& time) {
    SyncSeekStep step;
    // The file's first second counts as inside it and its last second as its
    // end: a pane left alone there would keep a picture of another time.
    if (!CPlayHelper::IsEarlier(&time, &fileStart) && CPlayHelper::IsEarlier(&time, &fileEnd)) {
        // By the file's own clock: a recording with gaps or a varying frame
        // rate has no fixed number of pictures per second.
        const int64_t nMs = CPlayHelper::GetSecondsBetween(&fileStart, &time) * 1000 +
                            int64_t{time.dwMs} - int64_t{fileStart.dwMs};
        step.eAction = SyncSeekAction::SeekTo;
        step.nMilliseconds = static_cast<uint32_t>(std::max<int64_t>(nMs, 0));
    } else if (CPlayHelper::IsEarlier(&time, &fileStart)) {
        step.eAction = SyncSeekAction::ToStart;
    } else {
        step.eAction = SyncSeekAction::ToEnd;
    }
    return step;
}
