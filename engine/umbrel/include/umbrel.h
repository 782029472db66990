#pragma once

/*
 * libumbrel: picture-by-picture decoding of one recording.
 *
 * A file is opened into a handle, its pictures are decoded one at a time in
 * presentation order into buffers the caller owns, scaled to the size and
 * pixel layout the caller asks for, each with its time. Sound met on the way
 * can be collected as 16-bit samples. The handle is closed when done.
 *
 * Conventions:
 *  - Results are UMBREL_OK (0), UMBREL_END (1) or a negative UMBREL_ERR_* code.
 *  - Paths are UTF-8.
 *  - Times are microseconds from the file's first picture; sound before that
 *    picture has negative times.
 *  - A handle is a small positive number; 0 is never a handle. Every export
 *    refuses a handle it did not give out (or one already closed), a null
 *    pointer and a missing or unreadable file with an error, never a crash.
 *  - One handle is used by one thread at a time; different handles may be used
 *    on different threads at once.
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(UMBREL_BUILDING)
#define UMBREL_API __attribute__((visibility("default")))
#else
#define UMBREL_API
#endif

#define UMBREL_MAX_HANDLES 64

enum {
    UMBREL_OK = 0,
    UMBREL_END = 1,               /* no picture left */
    UMBREL_ERR_BAD_HANDLE = -1,   /* handle not open */
    UMBREL_ERR_NULL_POINTER = -2, /* a required pointer argument was null */
    UMBREL_ERR_OPEN_FILE = -3,    /* the file does not exist or cannot be read */
    UMBREL_ERR_FILE_FORMAT = -4,  /* not a media file, or no video stream */
    UMBREL_ERR_DECODE = -5,       /* the decoder could not be set up or failed */
    UMBREL_ERR_ARGUMENT = -6,     /* a value outside what the call accepts */
    UMBREL_ERR_TOO_MANY = -7,     /* UMBREL_MAX_HANDLES files are open */
    UMBREL_ERR_OUT_OF_MEMORY = -8,
    UMBREL_ERR_READ = -9, /* reading the file failed midway */
};

/* Pixel layouts of a caller's picture buffer. */
enum {
    UMBREL_PIXEL_I420 = 1, /* planar Y, U, V; U and V at half width and height */
    UMBREL_PIXEL_BGRA = 2, /* one plane, 4 bytes per pixel: B, G, R, 255 */
};

typedef struct UmbrelInfo {
    int32_t width; /* size of the first picture as stored */
    int32_t height;
    int32_t aspectNum; /* shape of one stored pixel (1:1 when the file says nothing) */
    int32_t aspectDen;
    int32_t rateNum; /* nominal frame rate (25/1 when the file says nothing) */
    int32_t rateDen;
    int64_t durationUs; /* 0 when the file does not tell, or only guesses from its bit rate */
    int64_t fileBytes;  /* size of the file */
    int32_t hasSound;   /* 1 when a decodable sound stream exists */
    int32_t soundRate;  /* its sampling rate and channel count, else 0 */
    int32_t soundChannels;
} UmbrelInfo;

/* A caller's buffer that a picture is scaled into: the whole decoded picture
   fills width x height. I420 uses planes 0-2 (width and height even), BGRA
   plane 0 only. */
typedef struct UmbrelPicture {
    int32_t pixel;
    int32_t width;
    int32_t height;
    uint8_t* planes[3];
    int32_t strides[3];
} UmbrelPicture;

/* Opens `path`; on UMBREL_OK *handle holds the new handle. */
UMBREL_API int32_t UMBREL_Open(const char* path, int32_t* handle);

UMBREL_API int32_t UMBREL_GetInfo(int32_t handle, UmbrelInfo* info);

/* Collects sound from here on as interleaved 16-bit samples at `rate` Hz with
   `channels` (1 or 2) channels; UMBREL_ERR_ARGUMENT for other values. Files
   without sound succeed and never give any. */
UMBREL_API int32_t UMBREL_CollectSound(int32_t handle, int32_t rate, int32_t channels);

/* Decodes the next picture into `picture`. *timeUs receives its time and
   *bytePos (may be null) how far into the file reading has come. UMBREL_END
   when no picture is left; the buffer is then untouched. */
UMBREL_API int32_t UMBREL_DecodePicture(int32_t handle, const UmbrelPicture* picture,
                                        int64_t* timeUs, int64_t* bytePos);

/* Moves up to `maxFrames` collected sample frames (one sample per channel)
   into `samples`, oldest first. *frames receives how many were moved and
   *timeUs the time of the first of them. The sound that belongs with a
   picture has been collected once that picture is decoded; after UMBREL_END
   everything left in the file is. */
UMBREL_API int32_t UMBREL_ReadSound(int32_t handle, int16_t* samples, int32_t maxFrames,
                                    int32_t* frames, int64_t* timeUs);

/* Next UMBREL_DecodePicture gives the first picture at or after `timeUs`
   (the last picture when the time lies beyond it). Collected sound is
   dropped; collection goes on from the new place. */
UMBREL_API int32_t UMBREL_Seek(int32_t handle, int64_t timeUs);

UMBREL_API int32_t UMBREL_Close(int32_t handle);

#ifdef __cplusplus
}
#endif
