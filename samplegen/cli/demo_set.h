#pragma once

#include <string>
#include <vector>

#include "samplegen/samplegen.h"

namespace samplegen {

struct DemoFile {
    std::string name;
    SampleParams params;
};

// The recordings `make run` opens: two recorder files of one event with the
// same absolute start, an MP4 that starts a little later, a raw .264 and a
// transport stream.
std::vector<DemoFile> DemoFiles();

// Writes the demo set into `dir` (created when missing) and returns the
// paths. A file that a previous run wrote from the same settings and that
// still has the size it was written with is kept as it is.
bool WriteDemoSet(const std::string& dir, std::vector<std::string>* paths, std::string* error);

}  // namespace samplegen
