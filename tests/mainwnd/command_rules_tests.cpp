#include <gtest/gtest.h>

#include "lang/language_parser.h"
#include "mainwnd/command_ids.h"
#include "mainwnd/command_table.h"
#include "mainwnd/menu_rule.h"
#include "mainwnd/progress_math.h"
#include "mainwnd/side_library.h"

namespace {
bool Enabled(const MenuItemStates& s, int nId) { return s.at(nId).enabled.value(); }
bool Checked(const MenuItemStates& s, int nId) { return s.at(nId).checked.value(); }
}  // namespace

TEST(MenuRule, NoFileDisablesFileCommandsButKeepsFullScreen) {
    MenuRuleInput in;
    in.nState = 0;
    const MenuItemStates m = ComputeMenuRule(MenuKind::Main, in);
    for (int nId : {ID_FILE_INFO, ID_CLOSE_FILE, ID_PLAY_PAUSE, ID_STOP, ID_BACK_PLAY, ID_LOCATE,
                    ID_SPEED_DOWN, ID_CAPTURE, ID_CUT, ID_PART_ZOOM, ID_IVS, ID_NORMAL_SIZE}) {
        EXPECT_FALSE(Enabled(m, nId)) << nId;
    }
    EXPECT_TRUE(Enabled(m, ID_FULL_SCREEN));
    const MenuItemStates t = ComputeMenuRule(MenuKind::ToolBox, in);
    EXPECT_FALSE(Enabled(t, ID_CUT));
    EXPECT_EQ(t.count(ID_MERGE), 0u);  // merge and convert need no file
    const MenuItemStates c = ComputeMenuRule(MenuKind::Context, in);
    EXPECT_FALSE(Enabled(c, ID_PLAY_PAUSE));
    EXPECT_EQ(c.count(ID_FILE_INFO), 0u);
}

TEST(MenuRule, StoppedFileAllowsPlayStopInfoAndOverlayOnly) {
    MenuRuleInput in;
    in.nState = 3;
    const MenuItemStates m = ComputeMenuRule(MenuKind::Main, in);
    for (int nId : {ID_FILE_INFO, ID_CLOSE_FILE, ID_PLAY_PAUSE, ID_STOP, ID_IVS}) {
        EXPECT_TRUE(Enabled(m, nId)) << nId;
    }
    for (int nId : {ID_BACK_PLAY, ID_NEXT_FRAME, ID_CAPTURE, ID_CUT, ID_NORMAL_SIZE}) {
        EXPECT_FALSE(Enabled(m, nId)) << nId;
    }
    const MenuItemStates c = ComputeMenuRule(MenuKind::Context, in);
    EXPECT_TRUE(Enabled(c, ID_STOP));
    EXPECT_FALSE(Enabled(c, ID_CONTINUOUS_CAPTURE));
}

TEST(MenuRule, PlayableFileEnablesAllSizesOnlyInOnePaneAndOpenedFileLeavesItemsAlone) {
    MenuRuleInput in;
    in.nState = 2;
    in.nLayout = 1;
    MenuItemStates m = ComputeMenuRule(MenuKind::Main, in);
    EXPECT_TRUE(Enabled(m, ID_CUT));
    EXPECT_TRUE(Enabled(m, ID_QUARTER_SIZE));
    in.nLayout = 4;
    m = ComputeMenuRule(MenuKind::Context, in);
    EXPECT_TRUE(Enabled(m, ID_CAPTURE));
    EXPECT_FALSE(Enabled(m, ID_DOUBLE_SIZE));
    in.nState = 4;
    m = ComputeMenuRule(MenuKind::Main, in);
    EXPECT_FALSE(m[ID_CUT].enabled.has_value());
    EXPECT_FALSE(Enabled(m, ID_NORMAL_SIZE));
}

TEST(MenuRule, ChecksFollowTheWindowState) {
    MenuRuleInput in;
    in.nState = 1;
    in.nTopMostMode = 1;
    in.bSoundOn = false;
    in.nPlayOrder = 3;
    in.nLayout = 9;
    in.nLanguage = 6;
    in.bFullScreen = true;
    in.bBackPlay = true;
    const MenuItemStates m = ComputeMenuRule(MenuKind::Main, in);
    EXPECT_TRUE(Checked(m, ID_TOP_PLAYING));
    EXPECT_FALSE(Checked(m, ID_TOP_NEVER));
    EXPECT_TRUE(Checked(m, ID_MUTE));
    EXPECT_TRUE(Checked(m, ID_ORDER_SINGLE_REPEAT));
    EXPECT_FALSE(Checked(m, ID_ORDER_LIST_PLAY));
    EXPECT_TRUE(Checked(m, ID_LAYOUT_9));
    EXPECT_TRUE(Checked(m, ID_LANG_PORTUGUESE));
    EXPECT_TRUE(Checked(m, ID_BACK_PLAY));
    EXPECT_FALSE(m.at(ID_FULL_SCREEN).checked.has_value());  // checked in the context menu only
    EXPECT_TRUE(Checked(ComputeMenuRule(MenuKind::Context, in), ID_FULL_SCREEN));
    in.nLanguage = 3;
    EXPECT_FALSE(Checked(ComputeMenuRule(MenuKind::Main, in), ID_LANG_ENGLISH));
    in.bSync = true;
    EXPECT_FALSE(Enabled(ComputeMenuRule(MenuKind::Context, in), ID_ORDER_SINGLE_PLAY));
}

TEST(CommandTable, TextsHaveTheirDefaultsAndPortugueseIsFixed) {
    CLanguageParser::LoadStringFile(2);
    EXPECT_EQ(CommandMenuText(ID_LAYOUT_16, 2), QStringLiteral("16 window"));
    EXPECT_EQ(CommandMenuText(ID_ORDER_SINGLE_REPEAT, 2), QStringLiteral("Single Repeat"));
    EXPECT_EQ(CommandMenuText(ID_LANG_PORTUGUESE, 1), QString::fromUtf8("葡萄牙语"));
    EXPECT_EQ(CommandMenuText(ID_LANG_PORTUGUESE, 2), QStringLiteral("Portuguese"));
    EXPECT_EQ(CommandMenuText(ID_LANG_PORTUGUESE, 6), QString::fromUtf8("Português"));
    EXPECT_TRUE(CommandMenuText(12345, 2).isEmpty());
}

TEST(ProgressMath, PositionFromTimeOrFrameWithBadReadingsClamped) {
    ProgressView v = ComputeProgress({100, 50, 25, 40});
    EXPECT_EQ(v.nPos, 100);
    EXPECT_EQ(ProgressLabelText(v), QStringLiteral("40/100  00:00:25/00:00:50"));
    // A played time above the length: no progress, but the label shows it.
    v = ComputeProgress({100, 50, 3725, 40});
    EXPECT_EQ(v.nPos, 0);
    // Exactly at the end is not past it: the thumb stands at the end.
    EXPECT_EQ(ComputeProgress({100, 50, 50, 99}).nPos, 200);
    EXPECT_EQ(ComputeProgress({100, 50, 51, 99}).nPos, 0);
    EXPECT_EQ(ProgressLabelText(v), QStringLiteral("40/100  01:02:05/00:00:50"));
    // No frame yet: frame and played time read 0.
    v = ComputeProgress({100, 50, 25, UINT32_MAX});
    EXPECT_EQ(v.nFrame, 0u);
    EXPECT_EQ(v.nPlayedTime, 0u);
    // No file time: by frames.
    EXPECT_EQ(ComputeProgress({101, 0, 0, 50}).nPos, 100);
    EXPECT_EQ(ComputeProgress({1, 0, 0, 0}).nPos, 0);
    EXPECT_EQ(ComputeProgress({0, 50, 25, 40}).nPos, 0);
    EXPECT_EQ(ComputeProgress({0, 50, 25, 40}).nPlayedTime, 0u);
    // Large counts do not overflow.
    EXPECT_EQ(ComputeProgress({4000000000u, 0, 0, 3000000000u}).nPos, 150);
}

TEST(ProgressMath, SliderPositionAsksForTheFrameAndTwoHundredIsOnePastTheEnd) {
    EXPECT_EQ(FrameForSliderPos(200, 500), 500u);
    EXPECT_EQ(FrameForSliderPos(100, 501), 250u);
    EXPECT_EQ(FrameForSliderPos(0, 500), 0u);
    EXPECT_EQ(FrameForSliderPos(150, 4000000000u), 3000000000u);
    EXPECT_EQ(FrameForSliderPos(-5, 500), 0u);
}

TEST(ProgressMath, VolumeStepsByATenth) {
    EXPECT_EQ(VolumeUp(9), 9);
    EXPECT_EQ(VolumeUp(10), 11);
    EXPECT_EQ(VolumeUp(60000), 65535);
    EXPECT_EQ(VolumeUp(59577), 65534);
    EXPECT_EQ(VolumeDown(9), 9);
    EXPECT_EQ(VolumeDown(32767), 29491);
    EXPECT_EQ(VolumeTipText(65535), QStringLiteral("100"));
    EXPECT_EQ(VolumeTipText(32767), QStringLiteral("49"));
}

TEST(SideLibrary, AllAreTriedAndTheFirstMissingIsNamed) {
    QStringList tried;
    auto load = [&tried](const QString& strName) {
        tried << strName;
        return strName == QStringLiteral("b");
    };
    EXPECT_EQ(FirstMissingLibrary({"a", "b", "c"}, load), QStringLiteral("a"));
    EXPECT_EQ(tried, (QStringList{"a", "b", "c"}));
    EXPECT_TRUE(FirstMissingLibrary({"b"}, load).isEmpty());
    EXPECT_FALSE(LoadSideLibrary(QStringLiteral("libno_such_side_library.so")));
    CLanguageParser::LoadStringFile(2);
    EXPECT_EQ(NeedLibraryText(QStringLiteral("libkelsa.so")), QStringLiteral("Need libkelsa.so"));
}
