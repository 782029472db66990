#include <gtest/gtest.h>

#include "mainwnd/playlist_table.h"

TEST(PlaylistTable, RefusesExactDuplicatesButKeepsOtherLetterCase) {
    CPlaylistTable table;
    EXPECT_TRUE(table.Add(QStringLiteral("/rec/cam1.mp4")));
    EXPECT_FALSE(table.Add(QStringLiteral("/rec/cam1.mp4")));
    EXPECT_TRUE(table.Add(QStringLiteral("/rec/CAM1.mp4")));
    EXPECT_FALSE(table.Add(QString()));
    EXPECT_EQ(table.Count(), 2);
    EXPECT_EQ(table.IndexOf(QStringLiteral("/rec/CAM1.mp4")), 1);
    EXPECT_EQ(table.IndexOf(QStringLiteral("/rec/cam1.MP4")), -1);
    EXPECT_EQ(table.IndexOf(QString()), -1);
}

TEST(PlaylistTable, HoldsAThousandEntriesAndFreesSlotsOnRemoval) {
    CPlaylistTable table;
    for (int i = 0; i < CPlaylistTable::MAX_ENTRIES; ++i) {
        ASSERT_TRUE(table.Add(QStringLiteral("/rec/%1.mp4").arg(i)));
    }
    EXPECT_EQ(table.FreeSlots(), 0);
    EXPECT_FALSE(table.Add(QStringLiteral("/rec/extra.mp4")));

    ASSERT_TRUE(table.RemoveAt(0));
    EXPECT_EQ(table.Path(0), QStringLiteral("/rec/1.mp4"));
    EXPECT_EQ(table.Path(998), QStringLiteral("/rec/999.mp4"));
    EXPECT_EQ(table.Path(999), QString());
    EXPECT_TRUE(table.Add(QStringLiteral("/rec/extra.mp4")));
    EXPECT_EQ(table.IndexOf(QStringLiteral("/rec/extra.mp4")), 999);
    EXPECT_FALSE(table.RemoveAt(1000));
    EXPECT_FALSE(table.RemoveAt(-1));
    EXPECT_EQ(table.Path(-1), QString());
}

TEST(PlaylistTable, DisplayTextIsTheNameAfterTheLastSlash) {
    EXPECT_EQ(CPlaylistTable::DisplayText(QStringLiteral("/a/b/cam 1.mp4")),
              QStringLiteral("cam 1.mp4"));
    EXPECT_EQ(CPlaylistTable::DisplayText(QStringLiteral("cam.264")), QStringLiteral("cam.264"));
    // A Windows separator is an ordinary character of a Linux file name.
    EXPECT_EQ(CPlaylistTable::DisplayText(QStringLiteral("/x/a\\b.mp4")),
              QStringLiteral("a\\b.mp4"));
    EXPECT_EQ(CPlaylistTable::DisplayText(QStringLiteral("/x/")), QString());
}
