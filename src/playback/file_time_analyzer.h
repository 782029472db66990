#pragma once

#include <QString>

#include "playback/sync_file_info.h"

// Asks the file-analysis library (libpeskin.so beside the engine, loaded for
// this one call and released afterwards) for a recording's time information.
// False for a missing library or export, an empty path or a failed analysis:
// the file then counts as one without time information.
bool AnalyzeFileTime(const QString& strPath, FileTimeInfo* pInfo);

// File name of the library, looked for in the engine's folder.
inline constexpr const char* kFileAnalysisLibrary = "libpeskin.so";
