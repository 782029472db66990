// The media probe on a 4 GiB MP4 whose index ("moov") comes after its media
// data, against FFmpeg opening the same file and reading its stream facts.
// The file is a small MP4 rearranged with a hole of 4 GiB after its media
// data, so nothing big is written.
//
// Usage: media-probe-bench SMALL_MP4 OUTPUT_FOLDER

extern "C" {
#include <libavformat/avformat.h>
}

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench_util.h"
#include "tools/mediaprobe/media_probe.h"
#include "tools/mediaprobe/media_probe_file.h"

namespace {

constexpr uint64_t kHoleBytes = 4ull << 30;
constexpr int kRuns = 20;

uint32_t Be32(const uint8_t* p) { return uint32_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3]; }
void PutBe(uint8_t* p, uint64_t v, int n) {
    for (int i = 0; i < n; ++i) p[i] = static_cast<uint8_t>(v >> (8 * (n - 1 - i)));
}

struct TopBox {
    size_t nAt = 0;
    size_t nSize = 0;
};

// The top-level box of the type; nSize 0 when there is none.
TopBox FindTop(const std::vector<uint8_t>& bytes, const char* szType) {
    for (size_t nAt = 0; nAt + 8 <= bytes.size();) {
        const size_t nSize = Be32(&bytes[nAt]);
        if (nSize < 8 || nAt + nSize > bytes.size()) break;
        if (std::equal(&bytes[nAt + 4], &bytes[nAt + 8], szType)) return {nAt, nSize};
        nAt += nSize;
    }
    return {};
}

// Moves every 32-bit chunk offset ("stco") inside the boxes of [nFrom, nTo) by nDelta.
void ShiftChunkOffsets(std::vector<uint8_t>& moov, size_t nFrom, size_t nTo, int64_t nDelta) {
    static const char* const kContainers[] = {"moov", "trak", "mdia", "minf", "stbl"};
    for (size_t nAt = nFrom; nAt + 8 <= nTo;) {
        const size_t nSize = Be32(&moov[nAt]);
        if (nSize < 8 || nAt + nSize > nTo) return;
        const uint8_t* pType = &moov[nAt + 4];
        if (std::equal(pType, pType + 4, "stco")) {
            const size_t nCount = Be32(&moov[nAt + 12]);
            for (size_t i = 0; i < nCount && nAt + 16 + 4 * i + 4 <= nAt + nSize; ++i) {
                uint8_t* pEntry = &moov[nAt + 16 + 4 * i];
                PutBe(pEntry, static_cast<uint64_t>(Be32(pEntry) + nDelta), 4);
            }
        }
        for (const char* szContainer : kContainers) {
            if (std::equal(pType, pType + 4, szContainer)) {
                ShiftChunkOffsets(moov, nAt + 8, nAt + nSize, nDelta);
            }
        }
        nAt += nSize;
    }
}

// From an MP4 laid out ftyp, moov, free, mdat (as FFmpeg writes it with the
// index first): ftyp, one mdat with a 64-bit size that holds the media data
// and then a hole, and moov at the very end, its chunk offsets moved to match.
bool WriteHoledCopy(const std::string& in, const std::string& out, uint64_t* pSize) {
    std::ifstream file(in, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
    const TopBox ftyp = FindTop(bytes, "ftyp");
    const TopBox moovBox = FindTop(bytes, "moov");
    const TopBox mdat = FindTop(bytes, "mdat");
    if (ftyp.nSize == 0 || moovBox.nSize == 0 || mdat.nSize == 0 || mdat.nAt < moovBox.nAt) {
        return false;
    }
    std::vector<uint8_t> head(bytes.begin(), bytes.begin() + static_cast<long>(ftyp.nSize));
    const size_t nData = mdat.nSize - 8;
    head.resize(ftyp.nSize + 16);
    PutBe(&head[ftyp.nSize], 1, 4);
    std::copy_n("mdat", 4, &head[ftyp.nSize + 4]);
    PutBe(&head[ftyp.nSize + 8], 16 + nData + kHoleBytes, 8);
    head.insert(head.end(), bytes.begin() + static_cast<long>(mdat.nAt + 8),
                bytes.begin() + static_cast<long>(mdat.nAt + mdat.nSize));
    std::vector<uint8_t> moov(bytes.begin() + static_cast<long>(moovBox.nAt),
                              bytes.begin() + static_cast<long>(moovBox.nAt + moovBox.nSize));
    const int64_t nDelta =
        static_cast<int64_t>(ftyp.nSize + 16) - static_cast<int64_t>(mdat.nAt + 8);
    ShiftChunkOffsets(moov, 0, moov.size(), nDelta);

    const int nFd = open(out.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
    if (nFd < 0) return false;
    const off_t nMoovAt = static_cast<off_t>(head.size() + kHoleBytes);
    bool bOk = pwrite(nFd, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size());
    bOk =
        bOk && pwrite(nFd, moov.data(), moov.size(), nMoovAt) == static_cast<ssize_t>(moov.size());
    *pSize = static_cast<uint64_t>(nMoovAt) + moov.size();
    close(nFd);
    return bOk;
}

// Bytes this process has read through system calls so far.
uint64_t BytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    uint64_t nValue = 0;
    while (io >> key >> nValue) {
        if (key == "rchar:") return nValue;
    }
    return 0;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SMALL_MP4 OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string path = std::string(argv[2]) + "/moov-at-end-4gib.mp4";
    uint64_t nSize = 0;
    if (!WriteHoledCopy(argv[1], path, &nSize)) {
        std::fprintf(stderr, "cannot make a holed copy of %s\n", argv[1]);
        return 1;
    }

    std::vector<uint8_t> buffer(2 * kMediaProbeHeadBytes);
    std::vector<double> probeMs, ffmpegMs;
    MediaProbeResult result;
    uint64_t nProbeRead = 0;
    for (int i = 0; i < kRuns; ++i) {
        const uint64_t nReadBefore = BytesRead();
        const auto start = bench::Clock::now();
        MediaProbeFile(path.c_str(), &result, buffer.data(), buffer.size());
        probeMs.push_back(bench::SecondsSince(start) * 1000);
        nProbeRead = BytesRead() - nReadBefore;

        const auto ffStart = bench::Clock::now();
        AVFormatContext* pFormat = nullptr;
        if (avformat_open_input(&pFormat, path.c_str(), nullptr, nullptr) == 0) {
            avformat_find_stream_info(pFormat, nullptr);
            avformat_close_input(&pFormat);
        }
        ffmpegMs.push_back(bench::SecondsSince(ffStart) * 1000);
    }
    unlink(path.c_str());

    const double dProbe = Median(probeMs);
    const double dFfmpeg = Median(ffmpegMs);
    std::printf("file: %.2f GiB, moov at the end\n", static_cast<double>(nSize) / (1 << 30));
    std::printf("probe: system %u video %u audio %u, %llu bytes read\n", result.wSystemFormat,
                result.wVideoFormat, result.wAudioFormat,
                static_cast<unsigned long long>(nProbeRead));
    std::printf("median of %d: probe %.3f ms, ffmpeg open+find_stream_info %.3f ms, ratio %.2f\n",
                kRuns, dProbe, dFfmpeg, dFfmpeg / dProbe);
    std::printf("goal: probe under 20 ms: %s\n", dProbe < 20.0 ? "met" : "missed");
    return result.wSystemFormat == 5 ? 0 : 1;
}
