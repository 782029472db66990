#pragma once

#include <QStringList>

class QWidget;

// The file-open dialog's filters, in their order: all files, media files,
// and the formats played through FFmpeg's other demuxers.
QStringList AddFilesNameFilters();

// Lets the user choose existing files, several at once; empty when cancelled.
QStringList ChooseFilesToAdd(QWidget* pParent);
