#pragma once

#include <cstdint>
#include <optional>

#include "playback/vie_params.h"

class QObject;

// What the enhancement panel needs from the main window: the selected pane's
// block and the two operations on that pane.
class IVideoEnhanceOwner {
public:
    virtual ~IVideoEnhanceOwner() = default;
    // A copy of the selected pane's block; nothing when no pane is selected.
    virtual std::optional<VideoEnhanceParams> SelectedVieParams() const = 0;
    // Switches modules on the selected pane and resets its region to the whole picture.
    virtual void SetSelectedVieModules(int32_t nModules, bool bEnable) = 0;
    // Stores the block in the selected pane and sends it to the engine.
    virtual void SetSelectedVieParams(const VideoEnhanceParams& block) = 0;
    // The floating panel's module indicators follow the selected pane.
    virtual void RefreshEnhanceIndicators() = 0;
    // Receives the panel's close request (ORLIN_MSG_ENHANCE_CLOSED).
    virtual QObject* EnhanceCloseReceiver() = 0;
};
