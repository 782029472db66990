#include "mainwnd/playlist_table.h"

QString CPlaylistTable::DisplayText(const QString& strPath) {
    const qsizetype nSlash = strPath.lastIndexOf(QLatin1Char('/'));
    return nSlash < 0 ? strPath : strPath.mid(nSlash + 1);
}

bool CPlaylistTable::Add(const QString& strPath) {
    if (strPath.isEmpty() || IsFull() || IndexOf(strPath) >= 0) return false;
    m_paths.append(strPath);
    return true;
}

QString CPlaylistTable::Path(int32_t nIndex) const {
    if (nIndex < 0 || nIndex >= Count()) return QString();
    return m_paths.at(nIndex);
}

int32_t CPlaylistTable::IndexOf(const QString& strPath) const {
    if (strPath.isEmpty()) return -1;
    return static_cast<int32_t>(m_paths.indexOf(strPath, 0));
}

bool CPlaylistTable::RemoveAt(int32_t nIndex) {
    if (nIndex < 0 || nIndex >= Count()) return false;
    m_paths.removeAt(nIndex);
    return true;
}
