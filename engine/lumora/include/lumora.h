#pragma once

/*
 * liblumora: picture enhancement for the playback engine.
 *
 * An enhancer handle holds the module switches, their parameters and the
 * state that persists from one picture to the next (filter graphs, the
 * temporal denoiser's history, remap tables, scratch buffers). The engine
 * keeps one handle per port and runs each picture it presents through it,
 * in place, as planar YUV 4:2:0.
 *
 * Conventions:
 *  - Results are LUMORA_OK (0) or a negative LUMORA_ERR_* code.
 *  - A handle is a small positive number; 0 is never a handle. Every export
 *    refuses a handle it did not give out (or one already destroyed) and a
 *    null pointer with an error, never a crash.
 *  - One handle is used by one thread at a time; different handles may be
 *    used on different threads at once.
 *  - Buffers are sized when a picture size is first seen, so pictures of one
 *    size run without allocating in the library's own modules.
 *
 * Modules run in this order: colour balance, deblock, denoise, dehaze,
 * Retinex, adjustment, sharpen, lens distortion. A module that is off leaves
 * the picture alone; with no module on, LUMORA_Process does not touch it.
 *
 * Parameters (LumoraParams, the engine's 72-byte block). Values outside the
 * range are clamped to it. Each maps monotonically onto the module's effect:
 *  - adjustment (libavfilter eq), 0 leaves the picture unchanged:
 *      nBright      -255..255  luma offset Bright/255 * 0.5 (of full scale)
 *      nContrast    -256..255  contrast 1 + C/256 below 0 (0 = flat grey),
 *                              1 + 3 * C/255 above (up to 4x)
 *      nSaturation  -256..255  saturation 1 + S/256 below 0 (0 = grey),
 *                              1 + 2 * S/255 above (up to 3x)
 *  - Retinex (multi-scale, with colour restoration; own code):
 *      nEhanScale   0..100     largest surround radius (sigma) from 2 % to
 *                              30 % of the picture's longer side; two
 *                              smaller surrounds at 1/3 and 1/9 of it
 *      nEhanGain    -256..255  output contrast, x 2^(Gain/128)
 *      nEhanOffset  -255..255  output brightness, + Offset/2 levels
 *      nEhanColor   -256..255  colour restoration weight (Color+256)/511 * 0.6
 *                              (none at -256)
 *  - dehaze (dark-channel prior, fast guided-filter refinement; own code):
 *      nDehazeLevel         0..255  share of the haze removed, Level/255
 *      nDehazeTransmission  0..255  lowest transmission allowed, Trans/255:
 *                                   higher keeps more haze in dense parts
 *      nDehazeGain          0..255  brightness gain after removal, 1 + Gain/255
 *  - denoise (libavfilter hqdn3d, spatial and temporal):
 *      nDenoiseLevel  0..255  luma spatial strength Level/255 * 24; chroma
 *                             spatial 3/4 of it, temporal 3/2 of each
 *  - sharpen (unsharp mask on luma; own code, since libavfilter's unsharp
 *    has no threshold):
 *      nSharpenLevel      0..255  amount Level/255 * 2.5
 *      nSharpenRadius     1..15   radius of the blur in pixels
 *      nSharpenThreshold  0..255  differences up to this many levels are
 *                                 left alone (noise is not sharpened)
 *  - deblock (libavfilter deblock on the 8-pixel grid):
 *      nDeblockLevel  0..100  detection thresholds alpha 0.3 * L/100,
 *                             beta, gamma, delta 0.15 * L/100; strong filter
 *  - colour balance (grey world; own code, since libavfilter's grayworld
 *    works on 32-bit float RGB and costs more than a 1920x1080 picture's
 *    time at 25 fps): each of red, green and blue is scaled so that its
 *    mean becomes the grey of the three (gains limited to 1/4..4), applied
 *    as one matrix on Y, U and V. No parameters.
 *  - lens distortion (remap through a table built when size or parameters
 *    change; own code, since libavfilter's lenscorrection has no zoom). A
 *    picture point at radius r (1 = half the diagonal) is taken from radius
 *    r * (1 + k r^2) / z of the source:
 *      nLensWarp  -256..255  k = Warp/512: below 0 straightens barrel
 *                            distortion, above 0 pincushion
 *      nLensZoom  -256..255  z = 2^(Zoom/256): above 0 magnifies
 */

#include <stdint.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(LUMORA_BUILDING)
#define LUMORA_API __attribute__((visibility("default")))
#else
#define LUMORA_API
#endif

#define LUMORA_MAX_HANDLES 64
#define LUMORA_MAX_SIDE 8192

/* Module bits of LumoraParams.nModules. */
#define LUMORA_ADJUST 0x01
#define LUMORA_RETINEX 0x02
#define LUMORA_DEHAZE 0x04
#define LUMORA_DENOISE 0x08
#define LUMORA_SHARPEN 0x10
#define LUMORA_DEBLOCK 0x20
#define LUMORA_COLOR_BALANCE 0x40
#define LUMORA_LENS 0x80
#define LUMORA_ALL_MODULES 0xFF

enum {
    LUMORA_OK = 0,
    LUMORA_ERR_BAD_HANDLE = -1,   /* handle not created or already destroyed */
    LUMORA_ERR_NULL_POINTER = -2, /* a required pointer was null */
    LUMORA_ERR_BAD_PICTURE = -3,  /* size below 2x2 or above LUMORA_MAX_SIDE, missing plane */
    LUMORA_ERR_NO_HANDLE = -4,    /* every handle is in use */
    LUMORA_ERR_FILTER = -5,       /* a libavfilter graph failed to build or run */
    LUMORA_ERR_OUT_OF_MEMORY = -6,
};

/* Eighteen 32-bit fields, in the order and meaning described above. */
typedef struct LumoraParams {
    int32_t nModules;
    int32_t nBright, nContrast, nSaturation;
    int32_t nEhanScale, nEhanGain, nEhanOffset, nEhanColor;
    int32_t nDehazeLevel, nDehazeTransmission, nDehazeGain;
    int32_t nDenoiseLevel;
    int32_t nSharpenLevel, nSharpenRadius, nSharpenThreshold;
    int32_t nDeblockLevel;
    int32_t nLensWarp, nLensZoom;
} LumoraParams;

/* The panel's starting values: every module off, each module's own setting
 * at a moderate strength, adjustment, Retinex gain and lens at no change. */
static inline LumoraParams LUMORA_DefaultParams(void) {
    LumoraParams p;
    memset(&p, 0, sizeof p);
    p.nEhanScale = 25;
    p.nDehazeLevel = 220;
    p.nDehazeTransmission = 26;
    p.nDenoiseLevel = 60;
    p.nSharpenLevel = 80;
    p.nSharpenRadius = 2;
    p.nSharpenThreshold = 5;
    p.nDeblockLevel = 50;
    return p;
}

/* A planar YUV 4:2:0 picture (chroma planes (w+1)/2 x (h+1)/2). bFullRange:
 * luma 0..255 (JPEG range) instead of 16..235. */
typedef struct LumoraImage {
    int32_t nWidth, nHeight;
    int32_t bFullRange;
    uint8_t* pPlane[3];
    int32_t nStride[3];
} LumoraImage;

/* A new enhancer with every module off; its handle in *pHandle. */
LUMORA_API int32_t LUMORA_Create(int32_t* pHandle);
LUMORA_API int32_t LUMORA_Destroy(int32_t nHandle);

/* Takes modules and parameters for the pictures that follow. Filter graphs
 * are rebuilt only when a value they use changed. */
LUMORA_API int32_t LUMORA_SetParams(int32_t nHandle, const LumoraParams* pParams);

/* Enhances the picture in place. On an error the picture is left as it was. */
LUMORA_API int32_t LUMORA_Process(int32_t nHandle, LumoraImage* pImage);

/* Forgets what earlier pictures left (temporal denoising, the haze's light),
 * for a jump to another place in the recording. */
LUMORA_API int32_t LUMORA_ResetHistory(int32_t nHandle);

#ifdef __cplusplus
}
#endif
