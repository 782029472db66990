#pragma once

#include <QStringList>

class QMimeData;

// The local files carried by a drop, in drop order. Paths of any length the
// file system accepts are kept; other URLs are left out.
QStringList DroppedLocalFiles(const QMimeData* pMime);
