#pragma once

#include <QString>
#include <cstdint>

// Why a path cannot be played.
enum class MediaFileProblem {
    None,        // the engine opened it
    Missing,     // no such file
    Folder,      // a folder, not a file
    Empty,       // a file of zero bytes
    Unreadable,  // exists but cannot be read
    NotVideo,    // read, but holds nothing the engine can decode
    Engine,      // another engine failure; see nEngineError
};

struct MediaFileCheck {
    MediaFileProblem eProblem = MediaFileProblem::None;
    int32_t nEngineError = 0;  // the engine's error code when the engine refused
    bool IsPlayable() const { return eProblem == MediaFileProblem::None; }
};

// Whether the engine can open the file, and why not: the file system is asked
// first, then the engine (a fresh port opens the file, closes it and is freed).
// Safe on any thread.
MediaFileCheck CheckMediaFile(const QString& strPath);
bool ProbeMediaFile(const QString& strPath);

// Why an open the engine refused with `nEngineError` failed: what the file
// system says of the path, else what the engine's code means.
MediaFileCheck DescribeOpenFailure(const QString& strPath, int32_t nEngineError);
