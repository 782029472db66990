#pragma once

#include <QString>
#include <cstdint>

// Asks the engine for a file's play length on a port of its own, taken for
// each file and given back afterwards, whether or not the file opened.
class CMergeDurationProbe {
public:
    // The length in whole seconds; false when the engine cannot open the file.
    bool Probe(const QString& strPath, uint32_t* pnSeconds);
};
