#pragma once

#include <string>
#include <vector>

#include "samplegen/samplegen.h"

namespace samplegen {

// What orlin-samplegen was asked to do.
struct CommandLine {
    enum class Action { WriteOne, WriteDemo, ShowHelp };
    Action action = Action::WriteOne;
    SampleParams params;
    std::string output;   // WriteOne: the file to write
    std::string demoDir;  // WriteDemo: the folder for the demo set
};

// Parses the arguments after the program name; false with a message on bad input.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* result,
                      std::string* error);

const char* UsageText();

// The fixed device identity that --watermark fills in around the serial number.
Watermark DemoWatermark(uint32_t serial, const StartTime& time, uint8_t channel);

}  // namespace samplegen
