#include "mainwnd/drop_plan.h"

#include <algorithm>

PaneDropPlan PlanPaneDrop(PaneDropSource eSource, int32_t nFiles, const PaneDropContext& ctx) {
    PaneDropPlan plan;
    if (nFiles <= 0 || !ctx.bCursorInPaneArea) return plan;
    const bool bFromFiles = eSource == PaneDropSource::FileDrop;
    if (ctx.bSyncMode) {
        // Several dropped files, or one, leave an enlarged pane; a drag from the list does not.
        plan.bReturnToGrid = bFromFiles && ctx.bEnlarged;
        plan.bSyncPlay = true;
        return plan;
    }
    if (nFiles >= 2) {
        plan.bReturnToGrid = bFromFiles && ctx.bEnlarged;
        const int32_t nOpen = std::min(nFiles, std::max<int32_t>(ctx.nPaneCount, 0));
        for (int32_t i = 0; i < nOpen; ++i) plan.opens.push_back({i, i});
        return plan;
    }
    // One file goes where the cursor is, unless a pane fills the whole area.
    plan.bSelectUnderCursor = !ctx.bEnlarged;
    plan.opens.push_back({0, PaneOpen::SELECTED_PANE});
    return plan;
}
