#include "merge_input.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "ffmpeg_handles/recording_input.h"
#include "kelsa.h"

namespace kelsa {

namespace {

constexpr int64_t kAnalyzeMicroseconds = 500000;

// Elementary streams without a container: the demuxer gives their packets no times.
bool IsRawStream(const AVInputFormat* format) {
    static const char* const kRawNames[] = {"h264", "hevc", "mpegvideo", "m4v", "cavsvideo"};
    if ((format->flags & AVFMT_NOTIMESTAMPS) != 0) return true;
    return std::any_of(std::begin(kRawNames), std::end(kRawNames),
                       [&](const char* name) { return std::strcmp(format->name, name) == 0; });
}

}  // namespace

int OpenMergeInput(const std::string& path, MergeInput* input) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size == 0) {
        return KELSA_ERR_OPEN_FILE;
    }
    ffhandles::RecordingInputOptions options;
    // Half a second of the stream tells its codecs; the default five seconds
    // only make listing a file slower (it runs on the user's thread).
    options.analyzeMicroseconds = kAnalyzeMicroseconds;
    if (ffhandles::OpenRecordingInput(path, options, &input->format) < 0) {
        return KELSA_ERR_OPEN_FILE;
    }
    AVFormatContext* raw = input->format.get();
    if (avformat_find_stream_info(raw, nullptr) < 0) return KELSA_ERR_OPEN_FILE;

    input->videoStream = av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (input->videoStream < 0) return KELSA_ERR_NO_VIDEO;
    const int audio =
        av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, input->videoStream, nullptr, 0);
    input->audioStream = audio >= 0 ? audio : -1;

    InputFacts& facts = input->facts;
    const AVCodecParameters* video = input->Video()->codecpar;
    facts.videoCodec = video->codec_id;
    facts.width = video->width;
    facts.height = video->height;
    facts.untimed = IsRawStream(raw->iformat);
    if (const AVStream* sound = input->Audio()) {
        facts.hasAudio = sound->codecpar->codec_id != AV_CODEC_ID_NONE;
        facts.audioCodec = sound->codecpar->codec_id;
        facts.sampleRate = sound->codecpar->sample_rate;
        facts.channels = sound->codecpar->ch_layout.nb_channels;
    }
    if (facts.videoCodec == AV_CODEC_ID_NONE || facts.width <= 0 || facts.height <= 0) {
        return KELSA_ERR_NO_VIDEO;
    }
    return KELSA_OK;
}

}  // namespace kelsa
