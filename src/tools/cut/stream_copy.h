#pragma once

#include <atomic>
#include <string>

#include "tools/cut/byte_range_copy.h"
#include "tools/cut/cut_message.h"
#include "tools/cut/cut_plan.h"

// Copies the packets of the clip into a new container without decoding:
// video from the key frame at byte nStart up to (not including) the key
// frame at byte nEnd in decode order, every other stream over the same span
// of time. Timestamps are shifted so that the clip starts at 0. The output
// format follows the target's name (".mp4" ...), else the source's own.
// Writes to strTempPath; the caller renames it to the target or removes it.
// Returns CutMessage::None, CutMessage::UserCancel or the failure's message.
CutMessage StreamCopyRange(const std::string& strSource, const CutRange& range,
                           const std::string& strTarget, const std::string& strTempPath,
                           const std::atomic<bool>& cancel, const CutProgress& progress);
