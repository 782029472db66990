#pragma once

#include <QString>

#include "playback/file_probe.h"

// One line for the status line: the file's name and why it cannot be played,
// in the current language ("clip.rec: not a video file").
QString FileProblemText(const QString& strPath, const MediaFileCheck& check);
