#pragma once

/*
 * libkelsa: joins recordings, in the order they are listed, into one MP4 file
 * by copying their compressed streams (no re-encoding).
 *
 * Use: KELSA_CreateHandle, KELSA_AddToMergeList for each file in order,
 * KELSA_MergeFileInList, KELSA_DestroyHandle. KELSA_ClearMergeList empties the
 * list for another merge on the same handle.
 *
 * Conventions:
 *  - Results are 0 for success and a KELSA_ERR_* code otherwise, except
 *    KELSA_CreateHandle, which returns a handle (> 0) or 0 on failure.
 *  - A handle is a small positive number into a table guarded by a lock, and
 *    numbers are not reused while the library is loaded: a destroyed, stale or
 *    made-up handle is refused with KELSA_ERR_BAD_HANDLE, never dereferenced.
 *  - Every export is safe with a bad handle, a null pointer or a missing or
 *    damaged file, and may be called from any thread. KELSA_MergeFileInList
 *    blocks its caller until the merge ends; meanwhile other threads may call
 *    KELSA_StopMerge and KELSA_DestroyHandle on the same handle.
 *  - Paths are UTF-8.
 *
 * What may be joined: every listed file must open, carry a video stream, and
 * have the same video codec and picture size as the first listed file;
 * KELSA_AddToMergeList refuses any other file (KELSA_ERR_OPEN_FILE,
 * KELSA_ERR_NO_VIDEO, KELSA_ERR_MISMATCH) and leaves the list as it was.
 *
 * The output: an MP4 whose timestamps run on. Each file's first picture follows
 * the previous file's last picture (its timestamp plus its duration). Sound is
 * kept, in step with the pictures of its own file, only when every listed file
 * carries sound of the same kind (codec, sample rate and channel count); in any
 * other case the output has no sound. Raw elementary streams (.264, .265) carry
 * no timestamps: their pictures are spaced by the duration given to
 * KELSA_AddToMergeList divided by the number of pictures in the file (or, when
 * that duration is 0 or less, by the frame rate the stream declares, else 25 per
 * second).
 *
 * The output file appears only when the merge is complete: it is written under
 * a temporary name beside the output path and renamed at the end. A failed or
 * stopped merge removes what it wrote, and an existing file at the output path
 * is then left untouched.
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(KELSA_BUILDING)
#define KELSA_API __attribute__((visibility("default")))
#else
#define KELSA_API
#endif

enum {
    KELSA_OK = 0,
    KELSA_ERR_BAD_HANDLE = 1,      /* handle never created, destroyed, or out of range */
    KELSA_ERR_NULL_POINTER = 2,    /* a path argument was null or empty */
    KELSA_ERR_OPEN_FILE = 3,       /* the file does not exist, cannot be read or is not media */
    KELSA_ERR_NO_VIDEO = 4,        /* the file has no video stream */
    KELSA_ERR_MISMATCH = 5,        /* video codec or picture size differs from the first file's */
    KELSA_ERR_EMPTY_LIST = 6,      /* nothing listed to merge */
    KELSA_ERR_BUSY = 7,            /* a merge runs on this handle */
    KELSA_ERR_OUTPUT = 8,          /* the output cannot be created, written or completed */
    KELSA_ERR_OUTPUT_IS_INPUT = 9, /* the output path names one of the listed files */
    KELSA_ERR_READ = 10,    /* a listed file changed or became unreadable since it was added */
    KELSA_ERR_STOPPED = 11, /* the merge was stopped by KELSA_StopMerge or KELSA_DestroyHandle */
    KELSA_ERR_NO_MEMORY = 12,
};

/* A new, empty merge list. Returns its handle (> 0), or 0 on failure. */
KELSA_API int32_t KELSA_CreateHandle(void);

/* Empties the list. KELSA_ERR_BUSY while a merge runs on the handle. */
KELSA_API int32_t KELSA_ClearMergeList(int32_t handle);

/*
 * Appends `path` to the list after checking it as described above. `reserved`
 * is ignored (pass 0). `durationMs` is the file's play length in milliseconds;
 * only raw elementary streams use it, to space their pictures. Returns 0 when
 * the file was accepted.
 */
KELSA_API int32_t KELSA_AddToMergeList(int32_t handle, const char* path, int32_t reserved,
                                       int32_t durationMs);

/*
 * Joins the listed files into `outputPath` and returns when the merge has
 * ended: 0 on success, else the reason. A merge of one listed file rewrites it
 * as MP4.
 */
KELSA_API int32_t KELSA_MergeFileInList(int32_t handle, const char* outputPath);

/*
 * Asks a running merge on the handle to stop. The merge checks between packets
 * and returns KELSA_ERR_STOPPED well within a second, having removed its
 * partial output. Returns 0 for a valid handle, whether or not a merge runs
 * on it (nothing to stop is not an error), else KELSA_ERR_BAD_HANDLE.
 */
KELSA_API int32_t KELSA_StopMerge(int32_t handle);

/*
 * Forgets the handle. A merge still running on it is asked to stop, as by
 * KELSA_StopMerge, and ends by itself; its resources are freed when it
 * returns. Returns 0 when the handle was destroyed.
 */
KELSA_API int32_t KELSA_DestroyHandle(int32_t handle);

#ifdef __cplusplus
}
#endif
