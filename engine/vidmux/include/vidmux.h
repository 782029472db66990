#pragma once

/*
 * libvidmux: Orlin's playback engine.
 *
 * Files are played on numbered ports. A port is taken with Vemor_GetPort, a
 * file is opened on it and played into a render window (or into none), and
 * the port is given back with Vemor_FreePort. Every export is safe to call
 * from any thread while the port plays; callbacks arrive on the port's own
 * thread.
 *
 * Calls from callbacks: a callback may call any export on its own port
 * (except Vemor_OpenFile, Vemor_CloseFile and Vemor_FreePort, which fail with
 * VIDMUX_ERR_ORDER there) and on other ports. A call to another port waits
 * for that port's thread; when that thread is itself waiting, directly or
 * through further ports, on the caller's port (two callbacks pausing each
 * other's port), the call fails at once with VIDMUX_ERR_WOULD_DEADLOCK
 * instead of waiting for ever.
 *
 * Memory: decoded pictures kept for stepping back and reverse play share one
 * budget across all ports, VIDMUX_PICTURE_MEMORY_MB megabytes from the
 * environment (default 512), with the pictures the ports' decoders keep for
 * themselves (those take at most half of it). When it is full, pictures go
 * farthest from their own port's current picture first, taken from the
 * ports that hold more than an equal share.
 *
 * Closing: Vemor_CloseFile, Vemor_FreePort and the next Vemor_OpenFile do not
 * wait for a frame index still being built beyond a short bound; every read
 * of the file is interrupted.
 *
 * Conventions:
 *  - Results are VBOOL: non-zero for success. After a failure,
 *    Vemor_GetLastError(port) gives a VIDMUX_ERR_* code.
 *  - Paths are UTF-8.
 *  - File length and played time are whole seconds; Vemor_SetPlayedTimeEx
 *    takes milliseconds. Frame numbers count from 0 in presentation order.
 *
 * One timeline per file: a file's pictures lie on one continuous media
 * timeline, and frame numbers, played time, total time, seeking, stepping
 * and play in both directions all use it.
 *  - Only pictures that decode count: pictures before the first key frame
 *    (a file cut inside a group of pictures) and pictures torn off at the
 *    end or lost to damage are not part of the file.
 *  - Timestamps that jump backwards (recordings pasted together, a clock
 *    set back, a timestamp wrap) or forwards by more than ten frames (a
 *    recorder clock jump, a gap in recording) are joined: the picture after
 *    the jump follows the one before it by one frame. Pictures keep their
 *    order in the file. Files that store presentation times only (Matroska)
 *    allow for pictures sent ahead of sixteen B-frames: their jumps are
 *    those of more than sixteen frames back or twenty-six frames forward.
 *  - Absolute time (Vemor_GetSystemTime, the sync group) is the file's start
 *    time plus the media time plus every forward jump before the picture:
 *    a gap in the recording stays a gap on the clock, while a backward jump
 *    is joined like on the media timeline, so absolute time never runs
 *    backwards within a file.
 *  - Elementary streams without timestamps (raw .264/.265) are timed by
 *    their frame rate from their first key frame.
 *  - Damaged stretches are read past: only the end of the file, or a read
 *    error that persists, ends it.
 *  - Pixels handed out are 32-bit, one uint32_t 0xFFRRGGBB per pixel in native
 *    byte order (QImage::Format_RGB32 on little-endian machines).
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(VIDMUX_BUILDING)
#define VIDMUX_API __attribute__((visibility("default")))
#else
#define VIDMUX_API
#endif

typedef int32_t VBOOL;

#define VIDMUX_MAX_PORTS 64
#define VIDMUX_FILE_HEAD_LENGTH 40

/* Error codes kept per port (and for port -1 / out-of-range ports, globally). */
enum {
    VIDMUX_NOERROR = 0,
    VIDMUX_ERR_BAD_PORT = 1,     /* port not taken or out of range */
    VIDMUX_ERR_NULL_POINTER = 2, /* a required pointer argument was null */
    VIDMUX_ERR_NO_FREE_PORT = 3, /* every port is in use */
    VIDMUX_ERR_ORDER = 4,        /* call out of order: no file open, file already open, ... */
    VIDMUX_ERR_OPEN_FILE = 5,    /* the file cannot be opened or read */
    VIDMUX_ERR_FILE_FORMAT = 6,  /* not a media file, or no decodable video stream */
    VIDMUX_ERR_DECODE = 7,       /* decoder could not be set up or produced no picture */
    VIDMUX_ERR_NO_INDEX = 8,     /* needs the frame index, which is not built yet */
    VIDMUX_ERR_OUT_OF_RANGE = 9, /* frame number, time, level or value outside what is allowed */
    VIDMUX_ERR_NO_PICTURE = 10,  /* no picture decoded yet */
    VIDMUX_ERR_BUFFER_TOO_SMALL = 11,
    VIDMUX_ERR_NO_TIME = 12,       /* the file carries no absolute time */
    VIDMUX_ERR_ENCODE = 13,        /* snapshot encoding failed */
    VIDMUX_ERR_NO_AUDIO = 14,      /* the file has no sound stream */
    VIDMUX_ERR_NOT_SUPPORTED = 15, /* argument value the engine does not implement */
    VIDMUX_ERR_OUT_OF_MEMORY = 16,
    /* Refused: called from a port's callback, the call would wait on a port
     * whose thread is itself waiting on the caller's port. */
    VIDMUX_ERR_WOULD_DEADLOCK = 17,
    /* the enhancement library (liblumora.so) is missing beside the engine */
    VIDMUX_ERR_NO_ENHANCER = 18,
};

/* Absolute time of a picture. */
typedef struct VemorSystemTime {
    uint32_t dwYear;
    uint32_t dwMon; /* 1-12 */
    uint32_t dwDay; /* 1-31 */
    uint32_t dwHour;
    uint32_t dwMin;
    uint32_t dwSec;
    uint32_t dwMs;
} VemorSystemTime;

/* Source rectangle in picture pixels; right and bottom are exclusive. */
typedef struct VemorRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
} VemorRect;

/* Filled by the key-frame queries. nFilePos is the byte offset of the key
 * frame in the file (for the recorder format and MPEG-PS: the start of the
 * pack that begins the key frame). */
typedef struct VemorFramePos {
    int64_t nFilePos;
    int32_t nFrameNum;
    int32_t nFrameTime; /* milliseconds from the first picture */
    int32_t nFrameType; /* 1 = key frame */
    int32_t nReserved;
} VemorFramePos;

/* Message numbers posted through VemorRenderWindow.post_message. */
#define VIDMUX_MSG_FILE_END 1058
#define VIDMUX_MSG_ENC_CHANGE 1124

/*
 * A render window. The engine knows no toolkit: the player hands it this
 * struct, which must stay valid until the port stops using it (Vemor_CloseFile,
 * Vemor_FreePort, or another window given to Vemor_Play). The port keeps
 * the window across Vemor_Stop, so that a later Vemor_ReversePlay draws into it.
 * All callbacks run on the port's thread.
 */
typedef struct VemorRenderWindow {
    void* user;
    /* Size to render the next picture at; return 0 to skip presenting it. */
    int32_t (*get_size)(void* user, int32_t* width, int32_t* height);
    /* A finished picture, already scaled to that size with the display region
     * and colour applied; valid only during the call. */
    void (*present)(void* user, const uint8_t* pixels, int32_t width, int32_t height,
                    int32_t stride);
    /* Optional: receives VIDMUX_MSG_* messages set up with Vemor_SetFileEndMsg
     * and Vemor_SetEncChangeMsg. */
    void (*post_message)(void* user, uint32_t message);
} VemorRenderWindow;

/* The "device context" of the draw callbacks: the picture about to be
 * presented (window size), which the callback may draw on. */
typedef struct VemorDrawContext {
    uint8_t* pixels;
    int32_t width;
    int32_t height;
    int32_t stride;
} VemorDrawContext;

/* Handed to the display callback for every presented picture. */
typedef struct VemorDisplayInfo {
    int32_t nPort;
    int32_t nType;   /* VIDMUX_FRAME_* */
    int32_t nBufLen; /* bytes of pBuf */
    int32_t nWidth;  /* decoded picture size */
    int32_t nHeight;
    int32_t nStamp;      /* milliseconds from the first picture */
    const uint8_t* pBuf; /* the picture as YUV 4:2:0 planar (I420), may be null */
    void* nUser;
} VemorDisplayInfo;

/* Frame types of the decode callback. Pictures are types 1, 3 and 7. */
#define VIDMUX_FRAME_VIDEO_UYVY 1
#define VIDMUX_FRAME_VIDEO_YV12 3
#define VIDMUX_FRAME_VIDEO_RGB32 7
#define VIDMUX_FRAME_AUDIO16 101

typedef struct VemorFrameInfo {
    int32_t nWidth;
    int32_t nHeight;
    int32_t nStamp;     /* milliseconds from the first picture */
    int32_t nType;      /* VIDMUX_FRAME_* */
    int32_t nFrameRate; /* whole frames per second, for pictures */
    uint32_t dwFrameNum;
} VemorFrameInfo;

/* The watermark record delivered by the watermark callback (17 bytes):
 * packed time (u32 LE), serial (u32 LE), MAC (6 bytes), device type, device
 * information, channel. It travels in H.264 "user data unregistered" SEI
 * messages that start with this UUID. */
#define VIDMUX_WATERMARK_BYTES 17
#define VIDMUX_WATERMARK_UUID                                                                     \
    {                                                                                             \
        0x6f, 0x72, 0x6c, 0x69, 0x8c, 0x3e, 0x4b, 0x57, 0x9a, 0x21, 0x5d, 0xe4, 0x07, 0xb3, 0xc6, \
            0x1f                                                                                  \
    }

typedef void (*VemorDisplayCallBack)(const VemorDisplayInfo* pstDisplayInfo);
typedef void (*VemorDrawFun)(int32_t nPort, VemorDrawContext* hDc, void* pUser);
typedef void (*VemorIVSDrawFun)(int32_t nPort, VemorDrawContext* hDc, void* pIvsData,
                                int32_t nIvsDataLen, void* pUser);
typedef void (*VemorFileRefCallBack)(int32_t nPort, void* pUser);
typedef void (*VemorWatermarkCallBack)(int32_t nPort, const uint8_t** ppWatermark, void* pUser);
typedef void (*VemorDecCallBack)(int32_t nPort, const uint8_t* pBuf, int32_t nSize,
                                 const VemorFrameInfo* pFrameInfo, void* pUser, int32_t nReserved);
typedef void (*VemorFileEndCallBack)(int32_t nPort, void* pUser);
typedef void (*VemorEncTypeChangeCallBack)(int32_t nPort, void* pUser);

/* ---- Ports and files ---- */
VIDMUX_API VBOOL Vemor_GetPort(int32_t* pnPort);
VIDMUX_API VBOOL Vemor_FreePort(int32_t nPort);
/* Opens and probes the file, shows nothing yet, and starts building the frame
 * index in the background (the file-index callback fires when it is done). */
VIDMUX_API VBOOL Vemor_OpenFile(int32_t nPort, const char* sFileName);
VIDMUX_API VBOOL Vemor_CloseFile(int32_t nPort);
VIDMUX_API uint32_t Vemor_GetFileHeadLength(void);
VIDMUX_API uint32_t Vemor_GetLastError(int32_t nPort);
/* Version bytes, most significant first: major, minor, revision, build. */
VIDMUX_API uint32_t Vemor_GetSdkVersion(void);

/* ---- Play control ---- */
/* Plays forward into hWnd (null: decode and keep the clock, present nothing).
 * Resumes from pause, single step and reverse play at the current picture;
 * after Vemor_Stop or the end of the file it starts from the first picture.
 * Play and ReversePlay start at normal speed: callers apply Fast/Slow after. */
VIDMUX_API VBOOL Vemor_Play(int32_t nPort, VemorRenderWindow* hWnd);
/* Plays backwards frame by frame; needs the frame index (VIDMUX_ERR_NO_INDEX). */
VIDMUX_API VBOOL Vemor_ReversePlay(int32_t nPort);
/* nPause 1 pauses, 0 resumes. */
VIDMUX_API VBOOL Vemor_Pause(int32_t nPort, uint32_t nPause);
/* Stops; the next Vemor_Play starts from the first picture. */
VIDMUX_API VBOOL Vemor_Stop(int32_t nPort);
/* One speed step up / down per call; levels -4..+4 = 1/16x..16x. */
VIDMUX_API VBOOL Vemor_Fast(int32_t nPort);
VIDMUX_API VBOOL Vemor_Slow(int32_t nPort);
/* One frame forward / back; the picture is then held (paused). */
VIDMUX_API VBOOL Vemor_OneByOne(int32_t nPort);
VIDMUX_API VBOOL Vemor_OneByOneBack(int32_t nPort);
/* nNum > 0 drops B-frames from decoding, 0 decodes them again. */
VIDMUX_API VBOOL Vemor_ThrowBFrameNum(int32_t nPort, uint32_t nNum);

/* ---- Position ---- */
/* Shows exactly frame nFrameNum (0-based). Before the index is built the
 * frame is found from the timestamp and the frame rate. */
VIDMUX_API VBOOL Vemor_SetCurrentFrameNum(int32_t nPort, uint32_t nFrameNum);
VIDMUX_API VBOOL Vemor_SetPlayedTimeEx(int32_t nPort, uint32_t nTime);
VIDMUX_API uint32_t Vemor_GetFileTotalFrames(int32_t nPort);
VIDMUX_API uint32_t Vemor_GetFileTime(int32_t nPort);
VIDMUX_API uint32_t Vemor_GetPlayedTime(int32_t nPort);
VIDMUX_API uint32_t Vemor_GetCurrentFrameNum(int32_t nPort);
/* Absolute time of the current picture; fails with VIDMUX_ERR_NO_TIME when
 * the file carries none. */
VIDMUX_API VBOOL Vemor_GetSystemTime(int32_t nPort, VemorSystemTime* pstSystemTime);
/* nType 2: nValue is milliseconds from the first picture. */
VIDMUX_API VBOOL Vemor_GetKeyFramePos(int32_t nPort, uint32_t nValue, uint32_t nType,
                                      VemorFramePos* pFramePos);
VIDMUX_API VBOOL Vemor_GetNextKeyFramePos(int32_t nPort, uint32_t nValue, uint32_t nType,
                                          VemorFramePos* pFramePos);

/* ---- Pictures ---- */
VIDMUX_API VBOOL Vemor_GetPictureSize(int32_t nPort, int32_t* pWidth, int32_t* pHeight);
/* Encodes the current picture at its full size as a 24-bit BMP / a JPEG into
 * pBitmap; *pBmpSize gets the byte length. Fails with
 * VIDMUX_ERR_BUFFER_TOO_SMALL when nBufSize cannot hold it. */
VIDMUX_API VBOOL Vemor_GetBMP(int32_t nPort, uint8_t* pBitmap, uint32_t nBufSize,
                              uint32_t* pBmpSize);
VIDMUX_API VBOOL Vemor_GetJPEG(int32_t nPort, uint8_t* pJpeg, uint32_t nBufSize,
                               uint32_t* pJpegSize);
VIDMUX_API VBOOL Vemor_RefreshPlay(int32_t nPort);
VIDMUX_API VBOOL Vemor_RefreshPlayEx(int32_t nPort, uint32_t nRegionNum);
/* Region 0 only. bEnable 1 shows just pSrcRect of the picture, scaled to
 * the window; 0 shows the whole picture again. */
VIDMUX_API VBOOL Vemor_SetDisplayRegion(int32_t nPort, uint32_t nRegionNum,
                                        const VemorRect* pSrcRect, VemorRenderWindow* hDestWnd,
                                        VBOOL bEnable);
/* Brightness, contrast, saturation, hue on 0..128; 64 leaves pixels unchanged. */
VIDMUX_API VBOOL Vemor_SetColor(int32_t nPort, uint32_t nRegionNum, int32_t nBrightness,
                                int32_t nContrast, int32_t nSaturation, int32_t nHue);
/* 1 normal, 2 low resolution (decoded at reduced cost, half size). */
VIDMUX_API VBOOL Vemor_SetDisplayType(int32_t nPort, int32_t nType);
/* 1 high quality scaling, 0 fast scaling. */
VIDMUX_API VBOOL Vemor_SetPicQuality(int32_t nPort, VBOOL bHighQuality);
/* 1 blends each presented picture with the previous one to calm flicker. */
VIDMUX_API VBOOL Vemor_SetDeflash(int32_t nPort, VBOOL bDeflash);
/* 1 precise timer (sleep to the due time), 2 coarse timer (10 ms ticks). */
VIDMUX_API VBOOL Vemor_SetTimerType(int32_t nPort, uint32_t nTimerType, uint32_t nReserved);

/* ---- Sound ----
 * Sound plays only forward at normal speed. On a machine without an audio
 * device these calls still succeed (the volume and on/off state are kept)
 * and the port plays silently; Vemor_PlaySound(Share) fails with
 * VIDMUX_ERR_NO_AUDIO only when the file has no sound stream. */
VIDMUX_API VBOOL Vemor_PlaySound(int32_t nPort);
VIDMUX_API VBOOL Vemor_StopSound(void);
VIDMUX_API VBOOL Vemor_PlaySoundShare(int32_t nPort);
VIDMUX_API VBOOL Vemor_StopSoundShare(int32_t nPort);
/* 0..0xFFFF. */
VIDMUX_API VBOOL Vemor_SetVolume(int32_t nPort, uint16_t nVolume);

/* ---- Synchronisation ----
 * Ports in group 0 follow one clock in absolute time. A file without
 * absolute time cannot join: VIDMUX_ERR_NO_TIME (VIDMUX_ERR_ORDER with no
 * file open). */
VIDMUX_API VBOOL Vemor_SetSycGroup(int32_t nPort, uint32_t nGroupIndex);

/* ---- Messages and callbacks ----
 * A registration made off the port's thread returns once a callback it
 * replaced has stopped running (unless that would wait on a port waiting on
 * the caller), so the old user value may be freed when it returns. */
VIDMUX_API VBOOL Vemor_SetFileEndMsg(int32_t nPort, VemorRenderWindow* hWnd, uint32_t nMsg);
VIDMUX_API VBOOL Vemor_SetEncChangeMsg(int32_t nPort, VemorRenderWindow* hWnd, uint32_t nMsg);
VIDMUX_API VBOOL Vemor_SetDisplayCallBackEx(int32_t nPort, VemorDisplayCallBack DisplayCallBack,
                                            void* pUser);
VIDMUX_API VBOOL Vemor_RegisterDrawFun(int32_t nPort, VemorDrawFun DrawFun, void* pUser);
VIDMUX_API VBOOL Vemor_RegisterIVSDrawFunCB(int32_t nPort, VemorIVSDrawFun IVSDrawFun, void* pUser);
/* Analysis overlay: when on, the IVS draw callback is called for every picture. */
VIDMUX_API VBOOL Vemor_EnableIVS(int32_t nPort, VBOOL bEnable);
VIDMUX_API VBOOL Vemor_SetFileRefCallBack(int32_t nPort, VemorFileRefCallBack FileRefCallBack,
                                          void* pUser);
VIDMUX_API VBOOL Vemor_SetCheckWatermarkCallBack(int32_t nPort,
                                                 VemorWatermarkCallBack WatermarkCallBack,
                                                 void* pUser);
/* pDest and nDestSize are accepted for compatibility and must be null / 0. */
VIDMUX_API VBOOL Vemor_SetDecCallBackExMend(int32_t nPort, VemorDecCallBack DecCallBack,
                                            char* pDest, int32_t nDestSize, void* pUser);
VIDMUX_API VBOOL Vemor_SetFileEndCallback(int32_t nPort, VemorFileEndCallBack FileEndCallBack,
                                          void* pUser);
VIDMUX_API VBOOL Vemor_SetEncTypeChangeCallBack(int32_t nPort,
                                                VemorEncTypeChangeCallBack EncTypeChangeCallBack,
                                                void* pUser);

/* ---- Enhancement ----
 * The module set, the 72-byte parameter block and the region are kept per
 * port and apply to every picture the port shows afterwards, in play, steps,
 * reverse play, redraws and snapshots; a paused picture is redrawn at once.
 * The decode callback still receives the picture as decoded.
 * SetModuConfig switches the modules of nModuFlag on or off and leaves the
 * others; SetParaConfig's first field is the whole module set (bits 0x01..0x80,
 * liblumora.h's LUMORA_* order). SetRegion: region 0 only; pRect in picture
 * pixels (right and bottom exclusive, clamped to the picture), or null for the
 * whole picture; a negative, inverted or empty rectangle is
 * VIDMUX_ERR_OUT_OF_RANGE. With every module off the picture is shown exactly
 * as decoded. All three fail with VIDMUX_ERR_NO_ENHANCER, and the picture is
 * left alone, when liblumora.so is not beside the engine. */
#define VIDMUX_VIE_PARAM_BYTES 72
VIDMUX_API VBOOL Vemor_VIE_SetModuConfig(int32_t nPort, int32_t nModuFlag, VBOOL bEnable);
VIDMUX_API VBOOL Vemor_VIE_SetRegion(int32_t nPort, int32_t nRegionNum, const VemorRect* pRect);
VIDMUX_API VBOOL Vemor_VIE_SetParaConfig(int32_t nPort, const void* pParaConfig);

#ifdef __cplusplus
}
#endif
