#pragma once

#include <QString>
#include <string_view>

// Replaces the file at `strPath` with `data`, creating its folder when needed. The
// bytes go to a new file beside the target, which is flushed to disk and renamed over
// the target only when every step succeeded; on any failure (full disk, no
// permission, a crash midway) the previous file stays as it was and no temporary
// file is left behind. A new file is readable by its owner only.
bool WriteFileAtomically(const QString& strPath, std::string_view data);
