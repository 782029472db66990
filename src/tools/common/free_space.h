#pragma once

#include <QString>
#include <cstdint>
#include <functional>

// Bytes free for this user on the file system that holds the folder of
// `strOutputPath` (the file itself need not exist yet); 0 when the query fails,
// so a failed query never lets a write through.
uint64_t FreeSpaceForOutput(const QString& strOutputPath);

using FreeSpaceQuery = std::function<uint64_t(const QString& strOutputPath)>;

// Replaces the query for the lifetime of the object, so tests can place the
// free space exactly on a boundary. Not for nesting across threads.
class ScopedFreeSpaceOverride {
public:
    explicit ScopedFreeSpaceOverride(FreeSpaceQuery query);
    ~ScopedFreeSpaceOverride();
    ScopedFreeSpaceOverride(const ScopedFreeSpaceOverride&) = delete;
    ScopedFreeSpaceOverride& operator=(const ScopedFreeSpaceOverride&) = delete;

private:
    FreeSpaceQuery m_saved;
};
