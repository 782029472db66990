#include <gtest/gtest.h>

#include "mainwnd/hot_key_match.h"

namespace {
constexpr uint16_t kSpace = 32;
constexpr uint16_t kLeft = 37;
constexpr uint16_t kRight = 39;
constexpr uint16_t kEscape = 27;

int Index(HotKeyAction eAction) { return static_cast<int>(eAction); }
}  // namespace

TEST(HotKeyMatch, ModifiersMustEqualThePressedSetExactly) {
    HotKeyTable table = DefaultHotKeyTable();
    table[0] = {kSpace, HOTKEY_MOD_SHIFT};
    EXPECT_EQ(MatchHotKey(table, kSpace, PressedModifiers(false, true, false)), 0);
    EXPECT_EQ(MatchHotKey(table, kSpace, PressedModifiers(false, false, false)), -1);
    EXPECT_EQ(MatchHotKey(table, kSpace, PressedModifiers(true, true, false)), -1);
    // Alt is 1 and Ctrl 2 in the table's encoding.
    table[8] = {'P', HOTKEY_MOD_ALT};
    EXPECT_EQ(MatchHotKey(table, 'P', PressedModifiers(false, false, true)), 8);
    EXPECT_EQ(MatchHotKey(table, 'P', PressedModifiers(true, false, false)), -1);
    EXPECT_EQ(MatchHotKey(table, 'O', PressedModifiers(true, false, false)), -1);
}

TEST(HotKeyMatch, ExtendedFlagIsIgnoredSoDefaultArrowsMatchPlainPresses) {
    const HotKeyTable table = DefaultHotKeyTable();
    EXPECT_EQ(MatchHotKey(table, kRight, 0), Index(HotKeyAction::FrameForward));
    EXPECT_EQ(MatchHotKey(table, kLeft, 0), Index(HotKeyAction::FrameBackward));
    EXPECT_EQ(MatchHotKey(table, kLeft, HOTKEY_MOD_CTRL), Index(HotKeyAction::GotoStart));
    EXPECT_EQ(MatchHotKey(table, kRight, HOTKEY_MOD_CTRL), Index(HotKeyAction::GotoEnd));
    EXPECT_EQ(MatchHotKey(table, 'O', HOTKEY_MOD_CTRL), Index(HotKeyAction::AddFiles));
    // Only 8 itself is taken off: a plain arrow stored without it still matches.
    EXPECT_EQ(ComparableModifiers(HOTKEY_MOD_EXT | HOTKEY_MOD_SHIFT), HOTKEY_MOD_SHIFT);
    EXPECT_EQ(ComparableModifiers(HOTKEY_MOD_SHIFT), HOTKEY_MOD_SHIFT);
}

TEST(HotKeyMatch, FirstOfTwoEqualEntriesWinsAndDamagedEntriesNeverMatch) {
    HotKeyTable table = DefaultHotKeyTable();
    table[Index(HotKeyAction::VolumeUp)] = {'M', 0};
    table[Index(HotKeyAction::Stop)] = {'M', 0};
    EXPECT_EQ(MatchHotKey(table, 'M', 0), Index(HotKeyAction::Stop));
    // A stored -1 reads as key 65535 with every modifier bit set.
    table[0] = HotKeyBinding::FromStoredValue(-1);
    EXPECT_EQ(MatchHotKey(table, 0xFFFF, 0xFFFF - HOTKEY_MOD_EXT), 0);
    EXPECT_EQ(MatchHotKey(table, kSpace, 0), -1);
    // Escape may sit in the table; the window never looks it up (see the window tests).
    table[1] = {kEscape, 0};
    EXPECT_EQ(MatchHotKey(table, kEscape, 0), 1);
}

TEST(HotKeyMatch, FrameAndJumpKeysRespectSynchronousModeAndPlayState) {
    for (PlayState eState : {PLAY_STATE_IDLE, PLAY_STATE_PLAYING, PLAY_STATE_PAUSED,
                             PLAY_STATE_STOPPED, PLAY_STATE_OPENED}) {
        const bool bPlayable = eState == PLAY_STATE_PLAYING || eState == PLAY_STATE_PAUSED;
        EXPECT_FALSE(HotKeyActionAllowed(HotKeyAction::FrameForward, true, eState));
        EXPECT_FALSE(HotKeyActionAllowed(HotKeyAction::FrameBackward, true, eState));
        EXPECT_TRUE(HotKeyActionAllowed(HotKeyAction::FrameForward, false, eState));
        EXPECT_FALSE(HotKeyActionAllowed(HotKeyAction::GotoStart, true, eState));
        EXPECT_EQ(HotKeyActionAllowed(HotKeyAction::GotoStart, false, eState), bPlayable);
        EXPECT_EQ(HotKeyActionAllowed(HotKeyAction::GotoEnd, false, eState), bPlayable);
        // Play/pause, stop, volume and adding files work in every mode.
        EXPECT_TRUE(HotKeyActionAllowed(HotKeyAction::PlayOrPause, true, eState));
        EXPECT_TRUE(HotKeyActionAllowed(HotKeyAction::VolumeDown, true, eState));
        EXPECT_TRUE(HotKeyActionAllowed(HotKeyAction::AddFiles, true, eState));
    }
}
