#include <gtest/gtest.h>

#include "settings/hot_key_conflict.h"
#include "settings/player_set_rules.h"

TEST(HotKeyFieldConversion, AltAndShiftTradePlacesOnlyWhenOneIsSet) {
    EXPECT_EQ(ExchangeAltShift(HOTKEY_MOD_ALT), HOTKEY_MOD_SHIFT);
    EXPECT_EQ(ExchangeAltShift(HOTKEY_MOD_SHIFT), HOTKEY_MOD_ALT);
    EXPECT_EQ(ExchangeAltShift(HOTKEY_MOD_ALT | HOTKEY_MOD_SHIFT),
              HOTKEY_MOD_ALT | HOTKEY_MOD_SHIFT);
    EXPECT_EQ(ExchangeAltShift(HOTKEY_MOD_CTRL | HOTKEY_MOD_EXT | HOTKEY_MOD_ALT),
              HOTKEY_MOD_CTRL | HOTKEY_MOD_EXT | HOTKEY_MOD_SHIFT);
    EXPECT_EQ(ExchangeAltShift(HOTKEY_MOD_CTRL | HOTKEY_MOD_EXT), HOTKEY_MOD_CTRL | HOTKEY_MOD_EXT);
    // Converting there and back gives every stored set unchanged.
    for (uint16_t w = 0; w < 16; ++w) EXPECT_EQ(ExchangeAltShift(ExchangeAltShift(w)), w);
}

TEST(HotKeyConflictCheck, EqualRowsAndTwoEmptyRowsConflictButOneEmptyRowDoesNot) {
    HotKeyTable table = DefaultHotKeyTable();
    EXPECT_EQ(FindHotKeyConflict(table), std::make_pair(-1, -1));
    table[1] = {'O', HOTKEY_MOD_CTRL};  // Stop on Add files' key
    EXPECT_EQ(FindHotKeyConflict(table), std::make_pair(1, 8));
    table = DefaultHotKeyTable();
    table[4] = {};
    EXPECT_EQ(FindHotKeyConflict(table), std::make_pair(-1, -1));
    table[7] = {};
    EXPECT_EQ(FindHotKeyConflict(table), std::make_pair(4, 7));
    // Same key with other modifiers, or the extended flag alone, differ.
    table = DefaultHotKeyTable();
    table[0] = {39, 0};
    EXPECT_EQ(FindHotKeyConflict(table), std::make_pair(-1, -1));
}

TEST(SpeedPage, DirectionGivesTheSignAndStepsWalkOneLevelAtATime) {
    EXPECT_EQ(SpeedLevelFromSlider(false, 2), -2);
    EXPECT_EQ(SpeedLevelFromSlider(true, 3), 3);
    EXPECT_EQ(SpeedLevelForDirection(false, 3), -3);
    EXPECT_EQ(SpeedLevelForDirection(true, -2), 2);
    EXPECT_EQ(SpeedLevelForDirection(true, 2), 2);
    EXPECT_EQ(SpeedLevelForDirection(false, 0), 0);
    int nSteps = 0;
    for (int32_t nLevel = 0; nLevel != -2; nLevel += SpeedStepTowards(nLevel, -2)) {
        EXPECT_EQ(SpeedStepTowards(nLevel, -2), -1);
        ++nSteps;
    }
    EXPECT_EQ(nSteps, 2);
    EXPECT_EQ(SpeedStepTowards(-4, 4), 1);
    EXPECT_EQ(SpeedStepTowards(1, 1), 0);
}

TEST(LocatePage, DurationIsAcceptedFrameCountIsNotAndBadTextIsRefused) {
    uint32_t nValue = 99;
    EXPECT_EQ(CheckLocateTime(QStringLiteral("10"), 10, &nValue), LocateCheck::Valid);
    EXPECT_EQ(nValue, 10u);
    EXPECT_EQ(CheckLocateTime(QStringLiteral("0"), 10, &nValue), LocateCheck::Valid);
    EXPECT_EQ(nValue, 0u);
    EXPECT_EQ(CheckLocateTime(QStringLiteral("11"), 10, &nValue), LocateCheck::Invalid);
    EXPECT_EQ(CheckLocateTime(QStringLiteral(""), 10, &nValue), LocateCheck::Empty);
    EXPECT_EQ(CheckLocateTime(QStringLiteral("  "), 10, &nValue), LocateCheck::Empty);
    EXPECT_EQ(CheckLocateFrame(QStringLiteral("49"), 50, &nValue), LocateCheck::Valid);
    EXPECT_EQ(nValue, 49u);
    EXPECT_EQ(CheckLocateFrame(QStringLiteral("50"), 50, &nValue), LocateCheck::Invalid);
    EXPECT_EQ(CheckLocateFrame(QStringLiteral("0"), 0, &nValue), LocateCheck::Invalid);
    // A negative number would reach the engine as a huge unsigned position.
    EXPECT_EQ(CheckLocateTime(QStringLiteral("-5"), 10, &nValue), LocateCheck::Invalid);
    EXPECT_EQ(CheckLocateFrame(QStringLiteral("-1"), 50, &nValue), LocateCheck::Invalid);
    EXPECT_EQ(CheckLocateFrame(QStringLiteral("12abc"), 50, &nValue), LocateCheck::Invalid);
    EXPECT_EQ(CheckLocateTime(QStringLiteral("99999999999"), 10, &nValue), LocateCheck::Invalid);
}

TEST(SnapshotFolder, TrailingSeparatorGoesButTheRootStays) {
    EXPECT_EQ(FolderWithoutTrailingSeparator(QStringLiteral("/home/a/pictures/")),
              QStringLiteral("/home/a/pictures"));
    EXPECT_EQ(FolderWithoutTrailingSeparator(QStringLiteral("/home/a")), QStringLiteral("/home/a"));
    EXPECT_EQ(FolderWithoutTrailingSeparator(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(FolderWithoutTrailingSeparator(QString()), QString());
}
