#include <gtest/gtest.h>

#include "tools/fileinfo/file_info_format.h"

TEST(FileInfoFormat, SizeChangesUnitAtOneKilobyteAndOneMegabyte) {
    EXPECT_EQ(FormatFileSize(0), QStringLiteral("0 B"));
    EXPECT_EQ(FormatFileSize(1023), QStringLiteral("1023 B"));
    EXPECT_EQ(FormatFileSize(1024), QStringLiteral("1.00 KB"));
    EXPECT_EQ(FormatFileSize(1048575), QStringLiteral("1024.00 KB"));
    EXPECT_EQ(FormatFileSize(1048576), QStringLiteral("1.00 MB"));
    // Sizes past 4 GiB keep their high bits.
    EXPECT_EQ(FormatFileSize(5ull << 30), QStringLiteral("5120.00 MB"));
}

TEST(FileInfoFormat, LengthResolutionAndFrameRate) {
    EXPECT_EQ(FormatPlayLength(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(FormatPlayLength(3725), QStringLiteral("01:02:05"));
    EXPECT_EQ(FormatPlayLength(100 * 3600 + 59), QStringLiteral("100:00:59"));
    EXPECT_EQ(FormatResolution(704, 576), QStringLiteral("704 * 576"));
    EXPECT_EQ(FormatFrameRate(0), QString());
    EXPECT_EQ(FormatFrameRate(-3), QString());
    EXPECT_EQ(FormatFrameRate(25), QStringLiteral("25"));
}

TEST(FileInfoFormat, CodesWithoutNameShowNothing) {
    EXPECT_EQ(SystemFormatName(0), QStringLiteral("no"));
    EXPECT_EQ(SystemFormatName(5), QStringLiteral("3GP"));
    EXPECT_EQ(SystemFormatName(6), QString());
    EXPECT_EQ(VideoFormatName(256), QStringLiteral("264"));
    EXPECT_EQ(VideoFormatName(5), QString());
    EXPECT_EQ(AudioFormatName(12288), QStringLiteral("AMR"));
    EXPECT_EQ(AudioFormatName(8193), QString());
    EXPECT_EQ(AudioFormatName(29233), QString());
}

TEST(FileInfoFormat, FileNameIsThePartAfterTheLastSeparator) {
    EXPECT_EQ(FileNameOfPath(QStringLiteral("/rec/cam 1/a.mp4")), QStringLiteral("a.mp4"));
    EXPECT_EQ(FileNameOfPath(QStringLiteral("a.mp4")), QStringLiteral("a.mp4"));
    EXPECT_EQ(FileNameOfPath(QString()), QString());
}
