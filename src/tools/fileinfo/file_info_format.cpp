#include "tools/fileinfo/file_info_format.h"

#include "tools/mediaprobe/media_probe_result.h"

QString SystemFormatName(uint16_t wCode) {
    switch (wCode) {
        case SYSTEM_FORMAT_NONE:
            return QStringLiteral("no");
        case SYSTEM_FORMAT_TAVEL:
            return QStringLiteral("tavel");
        case SYSTEM_FORMAT_PS:
            return QStringLiteral("PS");
        case SYSTEM_FORMAT_TS:
            return QStringLiteral("TS");
        case SYSTEM_FORMAT_RTP:
            return QStringLiteral("RTP");
        case SYSTEM_FORMAT_3GP:
            return QStringLiteral("3GP");
        default:
            return {};
    }
}

QString VideoFormatName(uint16_t wCode) {
    switch (wCode) {
        case VIDEO_FORMAT_NONE:
            return QStringLiteral("no");
        case VIDEO_FORMAT_TAVEL:
            return QStringLiteral("tavel");
        case VIDEO_FORMAT_MPEG2:
            return QStringLiteral("MPEG2");
        case VIDEO_FORMAT_MPEG4:
            return QStringLiteral("MPEG4");
        case VIDEO_FORMAT_MJPEG:
            return QStringLiteral("MJPEG");
        case VIDEO_FORMAT_H264:
            return QStringLiteral("264");
        default:
            return {};
    }
}

QString AudioFormatName(uint16_t wCode) {
    switch (wCode) {
        case AUDIO_FORMAT_NONE:
            return QStringLiteral("no");
        case AUDIO_FORMAT_MPEG:
            return QStringLiteral("MPEG");
        case AUDIO_FORMAT_AMR:
            return QStringLiteral("AMR");
        case AUDIO_FORMAT_RAW_UDATA16:
            return QStringLiteral("RAW_UDATA16");
        case AUDIO_FORMAT_G711U:
            return QStringLiteral("G711U");
        case AUDIO_FORMAT_G711A:
            return QStringLiteral("G711A");
        case AUDIO_FORMAT_G722:
            return QStringLiteral("G722");
        case AUDIO_FORMAT_G726:
            return QStringLiteral("G726");
        default:
            return {};
    }
}

QString FormatFileSize(uint64_t nBytes) {
    constexpr uint64_t kKiB = 1024;
    constexpr uint64_t kMiB = 1024 * 1024;
    if (nBytes >= kMiB) return QString::asprintf("%.2f MB", static_cast<double>(nBytes) / kMiB);
    if (nBytes >= kKiB) return QString::asprintf("%.2f KB", static_cast<double>(nBytes) / kKiB);
    return QString::asprintf("%d B", static_cast<int>(nBytes));
}

QString FormatPlayLength(uint32_t nSeconds) {
    return QString::asprintf("%02u:%02u:%02u", nSeconds / 3600, nSeconds % 3600 / 60,
                             nSeconds % 60);
}

QString FormatResolution(int32_t nWidth, int32_t nHeight) {
    return QString::asprintf("%d * %d", nWidth, nHeight);
}

QString FormatFrameRate(int32_t nFrameRate) {
    return nFrameRate < 1 ? QString() : QString::number(nFrameRate);
}

QString FileNameOfPath(const QString& strPath) {
    return strPath.mid(strPath.lastIndexOf(QLatin1Char('/')) + 1);
}
