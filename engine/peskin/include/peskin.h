#pragma once

/*
 * libpeskin: finds the absolute start and end time of a recording without
 * decoding it, for synchronous play.
 *
 * Usage: h = PESKIN_CreateHandle(); PESKIN_AnalyzeFile(h, path, record);
 * PESKIN_DestroyHandle(h). A handle is a small index into a table: a stale,
 * foreign or destroyed handle is refused, never dereferenced. Every export is
 * safe on a bad handle, a null pointer, a missing or damaged file, and may be
 * called from any thread; one handle analyses one file at a time.
 *
 * Times are the file's own wall-clock stamps (recorders stamp local time,
 * MP4 creation_time is UTC); no time zone is applied.
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(PESKIN_BUILDING)
#define PESKIN_API __attribute__((visibility("default")))
#else
#define PESKIN_API
#endif

#define PESKIN_RECORD_BYTES 100
#define PESKIN_MAX_HANDLES 64

/* Results of PESKIN_AnalyzeFile: 0 on success, a negative code otherwise. */
enum {
    PESKIN_OK = 0,
    PESKIN_ERR_HANDLE = -1,   /* bad handle */
    PESKIN_ERR_ARGUMENT = -2, /* null or empty path, null record */
    PESKIN_ERR_OPEN = -3,     /* missing, unreadable or empty file */
    PESKIN_ERR_FORMAT = -4,   /* not a recording the analysis understands */
    PESKIN_ERR_NO_TIME = -5,  /* the file carries no absolute time */
    PESKIN_ERR_DAMAGED = -6,  /* no timestamped picture at the start or the end */
};

/* Sources of the start time (byte 4 of the record). */
#define PESKIN_TIME_RECORDER_HEAD 1 /* packed time in the recorder head */
#define PESKIN_TIME_CREATION_TAG 2  /* the container's creation_time tag */

/* Seven 32-bit fields, the layout of the engine's VemorSystemTime. */
typedef struct PeskinTime {
    uint32_t dwYear;
    uint32_t dwMon;
    uint32_t dwDay;
    uint32_t dwHour;
    uint32_t dwMin;
    uint32_t dwSec;
    uint32_t dwMs;
} PeskinTime;

/*
 * The 100-byte record, little-endian as the machine:
 *   0  uint32  record size (100)
 *   4  uint32  source of the start time, PESKIN_TIME_*
 *   8  uint32  one picture's duration in milliseconds
 *  12  uint32  reserved, 0
 *  16  int64   file size in bytes
 *  24  int64   length in milliseconds: end time - start time
 *  32  int64   presentation time of the last picture, in milliseconds from the first
 *  40  uint32  reserved, 0
 *  44  PeskinTime start: absolute time of the first picture
 *  72  PeskinTime end: start + last picture's time + one picture's duration
 */
/* Packed to 4 bytes so that the record is exactly 100 bytes long. */
#pragma pack(push, 4)
typedef struct PeskinFileInfo {
    uint32_t nSize;
    uint32_t nTimeSource;
    uint32_t nFrameMs;
    uint32_t nReserved1;
    int64_t nFileBytes;
    int64_t nLengthMs;
    int64_t nLastPictureMs;
    uint32_t nReserved2;
    PeskinTime stStart;
    PeskinTime stEnd;
} PeskinFileInfo;
#pragma pack(pop)

/* A new handle (1..PESKIN_MAX_HANDLES), or -1 when every handle is taken. */
PESKIN_API int32_t PESKIN_CreateHandle(void);

/* Fills the 100-byte record at pInfo for the UTF-8 path. Reads the recorder
 * head or the container's tables and at most a few MiB at each end of the
 * file, never the whole file. On failure the record is left zeroed. */
PESKIN_API int32_t PESKIN_AnalyzeFile(int32_t nHandle, const char* sFileName, void* pInfo);

/* Frees the handle; 0 on success, PESKIN_ERR_HANDLE for a bad handle. */
PESKIN_API int32_t PESKIN_DestroyHandle(int32_t nHandle);

#ifdef __cplusplus
}
#endif
