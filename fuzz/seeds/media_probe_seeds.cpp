// Writes the media probe's seed corpus into the folder named on the command
// line: small recordings of every container samplegen writes, and hand-built
// heads, block streams, stream maps and MP4 boxes.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "probe_bytes.h"
#include "samplegen/samplegen.h"

using namespace probetest;
namespace fs = std::filesystem;

namespace {

bool WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool WriteRecording(const fs::path& path, samplegen::Container container) {
    samplegen::SampleParams params;
    params.container = container;
    params.width = 64;
    params.height = 48;
    params.frameCount = 3;
    params.audio = container != samplegen::Container::RawH264;
    if (container == samplegen::Container::Recorder) {
        samplegen::Watermark mark;
        mark.packedTime = samplegen::PackTime({2024, 1, 2, 3, 4, 5});
        params.watermark = mark;
    }
    std::string error;
    if (samplegen::WriteSample(path.string(), params, &error)) return true;
    std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path dir = argv[1];
    std::error_code ec;
    fs::create_directories(dir, ec);
    bool bOk = WriteRecording(dir / "recorder.imx", samplegen::Container::Recorder) &&
               WriteRecording(dir / "h264_aac.mp4", samplegen::Container::Mp4) &&
               WriteRecording(dir / "h264_mp2.ts", samplegen::Container::MpegTs) &&
               WriteRecording(dir / "raw.264", samplegen::Container::RawH264) &&
               WriteRecording(dir / "h264_aac.mkv", samplegen::Container::Matroska);

    Bytes blocks = VideoBlock(kH264Start);
    Append(blocks, AudioBlock(640));
    Append(blocks, AudioBlock(80));
    Bytes programStream = PackHeader();
    Append(programStream, StreamMap({0x1B, 0x91}));
    Bytes transportStream = TsPacket(0, Pat({{1, 0x100}}));
    Append(transportStream, TsPacket(0x100, Pmt(0, 0, {0x1B, 0x0F})));
    Bytes mdatFirst = Box("ftyp", {'i', 's', 'o', 'm'});
    Append(mdatFirst, {0, 0, 0, 1, 'm', 'd', 'a', 't', 0, 0, 0, 0, 0, 0, 0, 24});
    Append(mdatFirst, Bytes(8, 0));
    Append(mdatFirst, Box("moov", Track("avc1")));
    const std::pair<const char*, Bytes> handBuilt[] = {
        {"imxv_head", PaddedTo(ImxvHead(2, 256, 8192), 2048)},
        {"old_head_4vxv", PaddedTo(OldHead("4VXV", 4113), 2048)},
        {"old_head_2msv", PaddedTo(OldHead("2MSV", 4116), 2048)},
        {"block_stream", PaddedTo(blocks, 2048)},
        {"program_stream", PaddedTo(programStream, 1024)},
        {"transport_stream", PaddedTo(transportStream, 1024)},
        {"mp4_avc1_samr", Mp4({Track("avc1"), Track("samr")})},
        {"mp4_mdat_first", mdatFirst},
    };
    for (const auto& [szName, bytes] : handBuilt) bOk = WriteBytes(dir / szName, bytes) && bOk;
    return bOk ? 0 : 1;
}
