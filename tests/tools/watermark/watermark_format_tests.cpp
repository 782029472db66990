#include <gtest/gtest.h>

#include "tools/watermark/watermark_format.h"

namespace {

WatermarkRecord Record(uint32_t dwPacked, uint32_t dwSerial, std::array<uint8_t, 6> mac,
                       uint8_t byType, uint8_t byInfo, uint8_t byChannel) {
    WatermarkRecord record{};
    for (int i = 0; i < 4; ++i) {
        record[i] = static_cast<uint8_t>(dwPacked >> (8 * i));
        record[4 + i] = static_cast<uint8_t>(dwSerial >> (8 * i));
    }
    std::copy(mac.begin(), mac.end(), record.begin() + 8);
    record[14] = byType;
    record[15] = byInfo;
    record[16] = byChannel;
    return record;
}

uint32_t Pack(uint32_t y, uint32_t mo, uint32_t d, uint32_t h, uint32_t mi, uint32_t s) {
    return (y - 2000) << 26 | mo << 22 | d << 17 | h << 12 | mi << 6 | s;
}

}  // namespace

TEST(WatermarkFormat, EveryFieldInItsForm) {
    WatermarkTexts texts;
    ASSERT_TRUE(FormatWatermark(Record(Pack(2024, 3, 15, 9, 30, 7), 123456789,
                                       {0xAB, 0x0C, 0xFF, 0x00, 0x1D, 0xE5}, 7, 200, 3),
                                &texts));
    EXPECT_EQ(texts.strTime, QStringLiteral("2024-03-15 09:30:07"));
    EXPECT_EQ(texts.strSerial, QStringLiteral("123456789"));
    EXPECT_EQ(texts.strMac, QStringLiteral("ab:0c:ff:00:1d:e5"));
    EXPECT_EQ(texts.strDeviceType, QStringLiteral("7"));
    EXPECT_EQ(texts.strDeviceInfo, QStringLiteral("200"));
    EXPECT_EQ(texts.strChannel, QStringLiteral("3"));
}

TEST(WatermarkFormat, EdgesOfThePackedTimeAndTheSerial) {
    WatermarkTexts texts;
    // Only the second set: year 2000, every other part 0.
    ASSERT_TRUE(FormatWatermark(Record(5, 0xFFFFFFFF, {}, 255, 0, 0), &texts));
    EXPECT_EQ(texts.strTime, QStringLiteral("2000-00-00 00:00:05"));
    EXPECT_EQ(texts.strSerial, QStringLiteral("-1"));  // the serial is signed
    EXPECT_EQ(texts.strDeviceType, QStringLiteral("255"));
    EXPECT_EQ(texts.strMac, QStringLiteral("00:00:00:00:00:00"));
    // Every bit set reaches the top of each part.
    ASSERT_TRUE(FormatWatermark(Record(0xFFFFFFFF, 0, {}, 0, 0, 0), &texts));
    EXPECT_EQ(texts.strTime, QStringLiteral("2063-15-31 31:63:63"));
}

TEST(WatermarkFormat, NoWatermarkYetLeavesTheTextsAlone) {
    WatermarkTexts texts;
    texts.strTime = QStringLiteral("kept");
    EXPECT_FALSE(FormatWatermark(Record(0, 42, {1, 2, 3, 4, 5, 6}, 1, 1, 1), &texts));
    EXPECT_EQ(texts.strTime, QStringLiteral("kept"));
    EXPECT_TRUE(texts.strMac.isEmpty());
}
