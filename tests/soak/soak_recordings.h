#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Writes four small recordings of different containers (160x120, 4 s at 25 fps,
// sound where the container carries it) into `folder` and returns their paths.
// Exits the program when one cannot be written: a soak without them is void.
std::vector<std::string> WriteSoakRecordings(const std::filesystem::path& folder);
