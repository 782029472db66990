#include <cstdlib>
#include <memory>
#include <mutex>

#include "picture_source.h"
#include "side_support/handle_table.h"
#include "umbrel.h"

namespace {

// Each open file with the lock that keeps one call at a time on it.
struct OpenFile {
    std::mutex mutex;
    umbrel::PictureSource source;
};

void CloseAllAtExit();

sidesupport::HandleTable<OpenFile>& Files() {
    static auto* table = [] {
        std::atexit(&CloseAllAtExit);
        return new sidesupport::HandleTable<OpenFile>(UMBREL_MAX_HANDLES);
    }();
    return *table;
}

void CloseAllAtExit() { Files().RemoveAll(); }

template <typename Call>
int32_t WithFile(int32_t handle, Call call) {
    const std::shared_ptr<OpenFile> file = Files().Find(handle);
    if (!file) return UMBREL_ERR_BAD_HANDLE;
    std::lock_guard lock(file->mutex);
    return call(file->source);
}

}  // namespace

extern "C" {

UMBREL_API int32_t UMBREL_Open(const char* path, int32_t* handle) {
    if (path == nullptr || handle == nullptr) return UMBREL_ERR_NULL_POINTER;
    auto file = std::make_shared<OpenFile>();
    const int opened = file->source.Open(path);
    if (opened != UMBREL_OK) return opened;
    const int32_t added = Files().Add(std::move(file));
    if (added == 0) return UMBREL_ERR_TOO_MANY;
    *handle = added;
    return UMBREL_OK;
}

UMBREL_API int32_t UMBREL_GetInfo(int32_t handle, UmbrelInfo* info) {
    if (info == nullptr) return UMBREL_ERR_NULL_POINTER;
    return WithFile(handle, [&](umbrel::PictureSource& source) {
        *info = source.Info();
        return UMBREL_OK;
    });
}

UMBREL_API int32_t UMBREL_CollectSound(int32_t handle, int32_t rate, int32_t channels) {
    return WithFile(
        handle, [&](umbrel::PictureSource& source) { return source.CollectSound(rate, channels); });
}

UMBREL_API int32_t UMBREL_DecodePicture(int32_t handle, const UmbrelPicture* picture,
                                        int64_t* timeUs, int64_t* bytePos) {
    if (picture == nullptr || timeUs == nullptr) return UMBREL_ERR_NULL_POINTER;
    return WithFile(handle, [&](umbrel::PictureSource& source) {
        return source.DecodePicture(*picture, timeUs, bytePos);
    });
}

UMBREL_API int32_t UMBREL_ReadSound(int32_t handle, int16_t* samples, int32_t maxFrames,
                                    int32_t* frames, int64_t* timeUs) {
    if (samples == nullptr || frames == nullptr || timeUs == nullptr) {
        return UMBREL_ERR_NULL_POINTER;
    }
    return WithFile(handle, [&](umbrel::PictureSource& source) {
        int moved = 0;
        const int read = source.ReadSound(samples, maxFrames, &moved, timeUs);
        *frames = moved;
        return read;
    });
}

UMBREL_API int32_t UMBREL_Seek(int32_t handle, int64_t timeUs) {
    return WithFile(handle, [&](umbrel::PictureSource& source) { return source.Seek(timeUs); });
}

UMBREL_API int32_t UMBREL_Close(int32_t handle) {
    // A call still running on another thread holds the file until it returns.
    return Files().Remove(handle) ? UMBREL_OK : UMBREL_ERR_BAD_HANDLE;
}

}  // extern "C"
