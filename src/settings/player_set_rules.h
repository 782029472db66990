#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Rules of the player settings dialog that need no window: the speed page,
// the locate page's checks and the folder a picker returns.

// The speed level the speed page shows: the slider gives its size (0..4) and
// the chosen direction its sign (faster when bSpeedUp).
int32_t SpeedLevelFromSlider(bool bSpeedUp, int32_t nSliderPos);

// The level after choosing a direction: a level of the other sign is negated.
int32_t SpeedLevelForDirection(bool bSpeedUp, int32_t nLevel);

// One step from nFrom towards nTo: +1 faster, -1 slower, 0 when there.
int32_t SpeedStepTowards(int32_t nFrom, int32_t nTo);

enum class LocateCheck { Empty, Invalid, Valid };

// A time in seconds may equal the file's duration; a frame number must lie
// below the frame count. Negative numbers and text that is not a whole number
// are invalid. On Valid, *pnValue receives the number.
LocateCheck CheckLocateTime(const QString& strText, uint32_t nDurationSeconds, uint32_t* pnValue);
LocateCheck CheckLocateFrame(const QString& strText, uint32_t nTotalFrames, uint32_t* pnValue);

// A folder as the settings keep it: without a trailing separator, except
// that the root of the file system stays "/". Empty stays empty.
QString FolderWithoutTrailingSeparator(const QString& strFolder);
