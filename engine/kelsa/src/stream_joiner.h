#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "merge_list.h"

namespace kelsa {

// Copies the streams of `files`, in order, into one MP4 at `outputPath` on a
// running clock. Checks `stop` between packets. The output appears only on
// success. Returns KELSA_OK or the reason.
int JoinFiles(const std::vector<ListedFile>& files, const std::string& outputPath,
              const std::atomic<bool>& stop);

}  // namespace kelsa
