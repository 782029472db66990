#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// The playlist's entries: full paths in list order, at most MAX_ENTRIES, no
// two alike. Paths compare character for character, so two spellings that
// differ only in letter case are two entries (Linux file names are case-sensitive).
class CPlaylistTable {
public:
    static constexpr int32_t MAX_ENTRIES = 1000;

    // The text a list shows for a path: the file name after the last '/', or
    // the whole path when it has none.
    static QString DisplayText(const QString& strPath);

    // Appends the path; false, changing nothing, for an empty path, a path
    // already listed or a full table.
    bool Add(const QString& strPath);
    // The stored path; empty for an index outside the table.
    QString Path(int32_t nIndex) const;
    // The first entry holding exactly this path, or -1.
    int32_t IndexOf(const QString& strPath) const;
    int32_t Count() const { return static_cast<int32_t>(m_paths.size()); }
    int32_t FreeSlots() const { return MAX_ENTRIES - Count(); }
    bool IsFull() const { return Count() >= MAX_ENTRIES; }
    // Removes one entry; the later entries move up one place.
    bool RemoveAt(int32_t nIndex);
    void Clear() { m_paths.clear(); }

private:
    QStringList m_paths;
};
