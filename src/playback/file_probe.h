#pragma once

#include <QString>

// Whether the engine can open the file: takes a fresh port, opens the file,
// closes it and frees the port. False for an empty path or when no port is free.
bool ProbeMediaFile(const QString& path);
