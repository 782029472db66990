#pragma once

#include <cstdint>

#include "playback/play_state.h"
#include "settings/player_settings.h"

// The four colour values of the panes, each 0..128 with 64 as neutral.
struct ColourValues {
    int32_t nBrightness = 64;
    int32_t nContrast = 64;
    int32_t nSaturation = 64;
    int32_t nHue = 64;
};

// The main window as the player settings dialog sees it.
class IPlayerSetOwner {
public:
    virtual ~IPlayerSetOwner() = default;

    // The record the dialog's OK writes into.
    virtual PlayerSettings& Settings() = 0;
    // The selected pane's state; in synchronous mode the group's.
    virtual PlayState GetSelPlayState() const = 0;
    virtual bool IsSyncPlay() const = 0;
    virtual ColourValues GetColour() const = 0;
    // Keeps the values for files opened later and applies them to every pane
    // that is neither idle nor stopped.
    virtual void SetColour(const ColourValues& stColour) = 0;
    virtual int32_t GetSpeedLevel() const = 0;
    // One speed step of the selected pane; false when the pane refuses it.
    virtual bool StepSpeed(bool bFaster) = 0;
    virtual bool SetSelTimePos(uint32_t nSeconds) = 0;
    virtual bool SetSelFramePos(uint32_t nFrame) = 0;
    virtual uint32_t GetSelTotalFrames() const = 0;
    // Length of the selected pane's file in seconds.
    virtual uint32_t GetSelFileTime() const = 0;
    // Hands the playback options of the record to the panes.
    virtual void ApplyPlayerSettings() = 0;
    virtual void RefreshPlayState() = 0;
};
