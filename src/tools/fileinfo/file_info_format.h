#pragma once

#include <QString>
#include <cstdint>

// Names of the media probe's format codes as the file information shows them;
// an empty text for a code without a name.
QString SystemFormatName(uint16_t wCode);
QString VideoFormatName(uint16_t wCode);
QString AudioFormatName(uint16_t wCode);

// "%.2f MB" from 1 MiB, "%.2f KB" from 1 KiB, else "%d B".
QString FormatFileSize(uint64_t nBytes);
// "hh:mm:ss" of a length in seconds; the hours grow past 99.
QString FormatPlayLength(uint32_t nSeconds);
// "width * height".
QString FormatResolution(int32_t nWidth, int32_t nHeight);
// The whole frames per second; empty below 1.
QString FormatFrameRate(int32_t nFrameRate);
// The part of a path after its last separator.
QString FileNameOfPath(const QString& strPath);
