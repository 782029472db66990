#pragma once

#include <cstdint>
#include <vector>

// Where files land when they reach the pane area: dropped from the file
// manager, or entries of the playlist dragged there with the mouse.
enum class PaneDropSource { FileDrop, ListDrag };

// The pane container as a drop sees it.
struct PaneDropContext {
    bool bSyncMode = false;
    bool bEnlarged = false;
    int32_t nPaneCount = 1;  // panes of the current layout
    bool bCursorInPaneArea = false;
};

// One file to open: file nFile of the dropped list into pane nPane (selected
// first), or into the selected pane as it stands when nPane is SELECTED_PANE.
struct PaneOpen {
    static constexpr int32_t SELECTED_PANE = -1;
    int32_t nFile = 0;
    int32_t nPane = SELECTED_PANE;
};

struct PaneDropPlan {
    bool bReturnToGrid = false;  // an enlarged pane goes back into the grid first
    bool bSyncPlay = false;      // every file is played in synchronous mode
    bool bSelectUnderCursor = false;
    std::vector<PaneOpen> opens;  // in this order
};

// What to do with nFiles accepted files (already listed) released at the pane area.
PaneDropPlan PlanPaneDrop(PaneDropSource eSource, int32_t nFiles, const PaneDropContext& ctx);
