#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace kelsa {

// A raw stream's pictures as they arrive (decoding order) and as they are
// shown. Raw streams carry no times, so the merge numbers the pictures itself.
struct RawPictureOrder {
    int64_t nPictures = 0;
    int nDelay = 0;  // how many pictures decoding runs ahead of showing (B-frames)
    // Showing position of each picture by arrival; empty when both orders agree.
    std::vector<int64_t> showingPosition;

    // Times counted in pictures, the first shown picture at 0.
    int64_t DecodeTime(int64_t nArrival) const { return nArrival - nDelay; }
    int64_t ShowTime(int64_t nArrival) const {
        if (nArrival < static_cast<int64_t>(showingPosition.size()) &&
            showingPosition[nArrival] >= 0) {
            return showingPosition[nArrival];
        }
        return nArrival;
    }
};

// Reads the stream once: counts its pictures and, when it has B-frames, decodes
// it to learn the showing order. Returns KELSA_OK, KELSA_ERR_READ or
// KELSA_ERR_STOPPED.
int ScanRawPictures(const std::string& path, const std::atomic<bool>& stop, RawPictureOrder* order);

}  // namespace kelsa
