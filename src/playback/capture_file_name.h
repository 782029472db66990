#pragma once

#include <QString>
#include <cstdint>
#include <ctime>

// Bytes reserved for one encoded snapshot of a width x height picture. The two
// common recorder sizes get fixed sizes; every other size five bytes a pixel.
// 0 when the size is not positive or the result would not fit in 32 bits.
uint32_t CaptureBufferSize(int32_t nWidth, int32_t nHeight);

// "<folder>/pictureYYYYMMDD_hhmmss_NNNNNN.bmp" (or ".jpeg") for the local time
// `pTime`. A null time (the conversion failed) gives 0 for the date fields and
// -1 for the time fields.
QString CaptureFileName(const QString& strFolder, const std::tm* pTime, uint32_t nCounter,
                        bool bJpeg);

// The process-wide name counters, one per image type, 0 at start and never
// reset: returns the current value of the type's counter and advances it.
uint32_t TakeCaptureCounter(bool bJpeg);
