#pragma once

/*
 * libtrovan: converts one recording into an AVI file (MPEG-4 Part 2 video,
 * MP3 sound, or 16-bit PCM where this system's FFmpeg has no MP3 encoder).
 *
 * A conversion is a handle: TROVAN_Create makes one, TROVAN_Initial names the
 * source and the target, TROVAN_SetPara sets the picture size, frame rate and
 * bit rates, and TROVAN_Start converts on a thread of the library's own while
 * TROVAN_GetConvertPerc reports how far it has come. TROVAN_Stop ends a running
 * conversion and TROVAN_Release gives the handle back (stopping it first).
 *
 * The target appears only when the conversion has finished: until then the
 * library writes a hidden file beside it, which a failure, TROVAN_Stop or
 * TROVAN_Release removes. An existing file of the target's name stays as it
 * was until it is replaced by the finished one.
 *
 * Conventions:
 *  - Every export returns TROVAN_OK (100) for success, else a TROVAN_ERR_* code.
 *  - Paths are UTF-8.
 *  - A handle is a small positive number; 0 is never a handle. Every export
 *    refuses a handle it did not give out (or one already released), a null
 *    pointer and a missing file with an error, never a crash. Every export may
 *    be called from any thread and returns promptly: TROVAN_Stop and
 *    TROVAN_Release wait only for the conversion thread to notice the stop,
 *    which it does between two pictures.
 *  - The pictures are decoded by libumbrel.so, which must lie in the same
 *    folder as this library; TROVAN_Start fails with TROVAN_ERR_NO_DECODER when
 *    it cannot be loaded.
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(TROVAN_BUILDING)
#define TROVAN_API __attribute__((visibility("default")))
#else
#define TROVAN_API
#endif

#define TROVAN_OK 100
#define TROVAN_MAX_HANDLES 16

enum {
    TROVAN_ERR_BAD_HANDLE = 1,   /* handle not created or already released */
    TROVAN_ERR_NULL_POINTER = 2, /* a required pointer argument was null */
    TROVAN_ERR_ORDER = 3,        /* Start before Initial, Initial or SetPara while converting */
    TROVAN_ERR_SOURCE = 4,       /* the source is missing, unreadable or not a recording */
    TROVAN_ERR_TARGET = 5,       /* the target's folder is missing or not writable, or the
                                    target is the source itself */
    TROVAN_ERR_PARAMETER = 6,    /* a parameter outside what the library converts to */
    TROVAN_ERR_CONVERT = 7,      /* the started conversion failed (see GetConvertPerc) */
    TROVAN_ERR_NO_DECODER = 8,   /* libumbrel.so could not be loaded */
    TROVAN_ERR_TOO_MANY = 9,     /* TROVAN_MAX_HANDLES handles exist */
};

/* Values of TrovanParams.nAudioCodec. */
enum {
    TROVAN_AUDIO_NONE = 0, /* pictures only */
    TROVAN_AUDIO_MP3 = 1,  /* MP3, or PCM when the MP3 encoder is missing */
    TROVAN_AUDIO_PCM = 2,  /* 16-bit PCM */
};

/* The parameter block of TROVAN_SetPara, 104 bytes. The reserved bytes are
   ignored. */
typedef struct TrovanParams {
    int32_t nWidth; /* picture size of the AVI, even, 16..4096; the source's
                       picture is scaled to fit inside, keeping its shape, and
                       the rest is black */
    int32_t nHeight;
    int32_t nFrameRate;    /* pictures per second, 1..120: source pictures are repeated
                              or dropped by their time to keep this rate */
    int32_t nVideoBitRate; /* bits per second, 16000..50000000 */
    uint8_t reserved16[16];
    int32_t nAudioBitRate; /* MP3 bits per second, 8000..320000 (unused for PCM) */
    uint8_t reserved36[20];
    int32_t nVideoCodec;    /* 0: MPEG-4 Part 2, the only one */
    int32_t nAudioCodec;    /* TROVAN_AUDIO_* */
    int32_t nAudioChannels; /* 1 or 2 */
    int32_t nContainer;     /* 0: AVI, the only one */
    uint8_t reserved72[32];
} TrovanParams;

TROVAN_API int32_t TROVAN_Create(int32_t* handle);

/* Names the source recording and the AVI file to write. */
TROVAN_API int32_t TROVAN_Initial(int32_t handle, const char* source, const char* target);

/* `params` points to a TrovanParams block. Without a call the library converts
   to 704x576 at 25 pictures per second, 1000000 and 64000 bits per second,
   MP3 stereo. */
TROVAN_API int32_t TROVAN_SetPara(int32_t handle, const void* params);

/* Starts converting in the background. A handle whose conversion finished,
   failed or was stopped may be started again. */
TROVAN_API int32_t TROVAN_Start(int32_t handle);

/* *percent receives how much of the source's time is converted, 0..100; it
   never goes down, and it is 100 only once the AVI file is complete and in
   place. When the started conversion has failed, *percent keeps the last value
   and the result is TROVAN_ERR_CONVERT; the hidden file is already removed. */
TROVAN_API int32_t TROVAN_GetConvertPerc(int32_t handle, int32_t* percent);

/* Ends a running conversion and removes what it had written; a finished AVI
   file is left alone. */
TROVAN_API int32_t TROVAN_Stop(int32_t handle);

/* Stops as TROVAN_Stop does and gives the handle back. */
TROVAN_API int32_t TROVAN_Release(int32_t handle);

#ifdef __cplusplus
}
#endif
