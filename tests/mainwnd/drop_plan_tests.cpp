#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "mainwnd/drop_plan.h"

namespace {
PaneDropContext Grid(int32_t nPanes) {
    PaneDropContext ctx;
    ctx.nPaneCount = nPanes;
    ctx.bCursorInPaneArea = true;
    return ctx;
}

std::vector<std::pair<int32_t, int32_t>> Opens(const PaneDropPlan& plan) {
    std::vector<std::pair<int32_t, int32_t>> opens;
    for (const PaneOpen& open : plan.opens) opens.emplace_back(open.nFile, open.nPane);
    return opens;
}

using Pairs = std::vector<std::pair<int32_t, int32_t>>;
}  // namespace

TEST(DropPlan, SeveralFilesFillPanesFromTheFirstUpToTheLayout) {
    for (PaneDropSource eSource : {PaneDropSource::FileDrop, PaneDropSource::ListDrag}) {
        EXPECT_EQ(Opens(PlanPaneDrop(eSource, 3, Grid(4))), (Pairs{{0, 0}, {1, 1}, {2, 2}}));
        EXPECT_EQ(Opens(PlanPaneDrop(eSource, 3, Grid(1))), (Pairs{{0, 0}}));
        EXPECT_EQ(Opens(PlanPaneDrop(eSource, 6, Grid(4))).size(), 4u);
        EXPECT_FALSE(PlanPaneDrop(eSource, 3, Grid(4)).bSelectUnderCursor);
    }
}

TEST(DropPlan, OneFileGoesUnderTheCursorUnlessAPaneIsEnlarged) {
    PaneDropPlan plan = PlanPaneDrop(PaneDropSource::FileDrop, 1, Grid(4));
    EXPECT_TRUE(plan.bSelectUnderCursor);
    EXPECT_EQ(Opens(plan), (Pairs{{0, PaneOpen::SELECTED_PANE}}));

    PaneDropContext enlarged = Grid(4);
    enlarged.bEnlarged = true;
    plan = PlanPaneDrop(PaneDropSource::ListDrag, 1, enlarged);
    EXPECT_FALSE(plan.bSelectUnderCursor);
    EXPECT_FALSE(plan.bReturnToGrid);
    EXPECT_EQ(Opens(plan), (Pairs{{0, PaneOpen::SELECTED_PANE}}));
}

TEST(DropPlan, DroppedFilesLeaveAnEnlargedPaneDraggedEntriesDoNot) {
    PaneDropContext enlarged = Grid(9);
    enlarged.bEnlarged = true;
    EXPECT_TRUE(PlanPaneDrop(PaneDropSource::FileDrop, 2, enlarged).bReturnToGrid);
    EXPECT_FALSE(PlanPaneDrop(PaneDropSource::ListDrag, 2, enlarged).bReturnToGrid);
    EXPECT_FALSE(PlanPaneDrop(PaneDropSource::FileDrop, 1, enlarged).bReturnToGrid);
}

TEST(DropPlan, SynchronousModePlaysEverythingTogether) {
    PaneDropContext sync = Grid(4);
    sync.bSyncMode = true;
    sync.bEnlarged = true;
    for (int32_t nFiles : {1, 3}) {
        const PaneDropPlan fromFiles = PlanPaneDrop(PaneDropSource::FileDrop, nFiles, sync);
        EXPECT_TRUE(fromFiles.bSyncPlay);
        EXPECT_TRUE(fromFiles.bReturnToGrid);
        EXPECT_TRUE(fromFiles.opens.empty());
        const PaneDropPlan fromList = PlanPaneDrop(PaneDropSource::ListDrag, nFiles, sync);
        EXPECT_TRUE(fromList.bSyncPlay);
        EXPECT_FALSE(fromList.bReturnToGrid);
    }
}

TEST(DropPlan, NothingHappensOutsideThePaneAreaOrWithoutFiles) {
    PaneDropContext outside = Grid(4);
    outside.bCursorInPaneArea = false;
    outside.bSyncMode = true;
    const PaneDropPlan plan = PlanPaneDrop(PaneDropSource::ListDrag, 2, outside);
    EXPECT_FALSE(plan.bSyncPlay);
    EXPECT_TRUE(plan.opens.empty());
    EXPECT_TRUE(PlanPaneDrop(PaneDropSource::FileDrop, 0, Grid(4)).opens.empty());
}
