#pragma once

// A file that appears under its final name only when it is complete.
//
// The writer writes to TempPath(), a fresh file created beside the target (same
// folder, so the final rename never crosses file systems). Commit() flushes it to
// disk and renames it over the target; if the object is destroyed before a
// successful Commit() (failure, cancel, an exception), the temporary file is
// removed, so the user finds either the finished file or none. No Qt: the side
// libraries use it as well as the player.

#include <string>

namespace outputfile {

class PendingOutputFile {
public:
    // Creates the temporary file; Ok() tells whether that worked (folder missing,
    // no permission, empty target).
    explicit PendingOutputFile(std::string strTarget);
    ~PendingOutputFile();
    PendingOutputFile(const PendingOutputFile&) = delete;
    PendingOutputFile& operator=(const PendingOutputFile&) = delete;

    bool Ok() const { return !m_strTemp.empty(); }
    const std::string& TempPath() const { return m_strTemp; }
    const std::string& TargetPath() const { return m_strTarget; }

    // Syncs the temporary file and renames it to the target, replacing any file
    // there. The writer must have closed its own handle first. False when any
    // step fails; the temporary file is then removed by the destructor.
    bool Commit();

    // Removes the temporary file now (idempotent).
    void Discard();

private:
    std::string m_strTarget;
    std::string m_strTemp;
    bool m_bCommitted = false;
};

}  // namespace outputfile
