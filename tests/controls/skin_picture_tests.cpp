#include <gtest/gtest.h>

#include <QBitmap>
#include <QImage>

#include "controls/skin_picture.h"

namespace {

struct Expected {
    const char* pszName;
    int nWidth;
    int nHeight;
};

// Buttons come in three looks: "<name>_normal", "_hover" and "_pressed".
const Expected kButtons[] = {
    {"play", 38, 39},
    {"pause", 38, 39},
    {"stop", 38, 39},
    {"goto_start", 26, 25},
    {"speed_down", 26, 25},
    {"speed_up", 26, 25},
    {"goto_end", 26, 25},
    {"frame_back", 26, 25},
    {"frame_forward", 26, 25},
    {"capture", 26, 25},
    {"reverse", 26, 25},
    {"reverse_on", 26, 25},
    {"sync", 26, 25},
    {"sync_on", 26, 25},
    {"sound", 26, 25},
    {"mute", 26, 25},
    {"open", 24, 22},
    {"playlist", 24, 22},
    {"toolbox", 24, 22},
    {"playlist_add", 18, 18},
    {"playlist_delete", 18, 18},
    {"playlist_clear", 18, 18},
    {"play_order", 18, 18},
    {"playlist_hide", 18, 18},
    {"caption_menu", 19, 18},
    {"caption_minimize", 19, 18},
    {"caption_maximize", 19, 18},
    {"caption_restore", 19, 18},
    {"caption_close", 19, 18},
    {"fullscreen", 30, 24},
    {"fullscreen_exit", 30, 24},
    {"topmost", 30, 24},
    {"topmost_on", 30, 24},
    {"settings", 30, 24},
    {"part_zoom", 30, 24},
};

const Expected kPictures[] = {
    {"239", 34, 17},
    {"287", 34, 17},
    {"caption", 1, 31},
    {"caption_under", 1, 4},
    {"border_left", 4, 1},
    {"border_right", 4, 1},
    {"border_bottom", 1, 4},
    {"logo", 95, 29},
    {"control_bar", 8, 64},
    {"pane_bar", 8, 26},
    {"status_bar", 8, 20},
    {"float_panel", 1, 26},
    {"volume_channel", 70, 8},
    {"volume_channel_active", 70, 8},
    {"volume_thumb", 8, 8},
    {"volume_thumb_active", 8, 8},
    {"progress_channel", 764, 10},
    {"progress_channel_active", 764, 10},
    {"progress_channel_left", 4, 10},
    {"progress_channel_middle", 1, 10},
    {"progress_channel_right", 4, 10},
    {"progress_channel_active_piece", 1, 8},
    {"progress_thumb", 10, 10},
    {"progress_thumb_active", 10, 10},
};

TEST(SkinPicture, EveryButtonHasThreeDistinctLooksAtItsSize) {
    for (const Expected& button : kButtons) {
        const SkinButtonPictures set = SkinButtonSet(QString::fromLatin1(button.pszName));
        ASSERT_TRUE(set.IsComplete()) << button.pszName;
        const QSize size(button.nWidth, button.nHeight);
        EXPECT_EQ(set.normal.size(), size) << button.pszName;
        EXPECT_EQ(set.hover.size(), size) << button.pszName;
        EXPECT_EQ(set.pressed.size(), size) << button.pszName;
        EXPECT_NE(set.normal.toImage(), set.hover.toImage()) << button.pszName;
        EXPECT_NE(set.hover.toImage(), set.pressed.toImage()) << button.pszName;
    }
}

TEST(SkinPicture, EveryOtherPictureIsPresentAtItsSize) {
    for (const Expected& picture : kPictures) {
        const QPixmap pixmap = SkinPicture(QString::fromLatin1(picture.pszName));
        ASSERT_FALSE(pixmap.isNull()) << picture.pszName;
        EXPECT_EQ(pixmap.size(), QSize(picture.nWidth, picture.nHeight)) << picture.pszName;
    }
    EXPECT_EQ(SkinPicture(239).size(), QSize(34, 17)) << "numbered pictures load by number";
}

TEST(SkinPicture, UnknownPictureIsNullNotAFault) {
    EXPECT_TRUE(SkinPicture(QStringLiteral("no_such_picture")).isNull());
    EXPECT_TRUE(SkinPicture(-1).isNull());
    EXPECT_FALSE(SkinButtonSet(QStringLiteral("no_such_button")).IsComplete());
}

TEST(SkinPicture, ColourKeyMasksTopLeftColourOnly) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    image.setPixelColor(2, 2, QColor(10, 200, 10));
    const QImage masked = WithColourKeyMask(QPixmap::fromImage(image))
                              .toImage()
                              .convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(masked.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(masked.pixel(3, 1)), 0);
    EXPECT_EQ(masked.pixelColor(2, 2), QColor(10, 200, 10));

    const QPixmap withAlpha = SkinPicture(QStringLiteral("volume_thumb"));
    EXPECT_EQ(WithColourKeyMask(withAlpha).toImage(), withAlpha.toImage());
    EXPECT_TRUE(WithColourKeyMask(QPixmap()).isNull());
}

}  // namespace
