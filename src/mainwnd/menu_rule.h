#pragma once

#include <cstdint>
#include <map>
#include <optional>

// Which menu items are enabled and checked before a menu opens. Pure: the
// window gathers the state, this decides, the menus apply it.

// The play-order menu keeps its own marks (play_order_menu.h).
enum class MenuKind { Main, ToolBox, Context };

struct MenuRuleInput {
    int32_t nState = 0;  // play state of the selected pane (or of the group)
    bool bSync = false;
    int32_t nLayout = 1;
    int32_t nTopMostMode = 0;
    bool bHighQuality = true;
    bool bSoundOn = true;
    bool bConCapturing = false;
    int32_t nPlayOrder = 2;
    bool bBackPlay = false;
    bool bIvsOn = false;
    bool bFullScreen = false;
    int32_t nLanguage = 2;
    bool bEnhanceShown = false;  // the enhancement panel is open
};

// An item the rule leaves alone has no value for that aspect.
struct MenuItemState {
    std::optional<bool> enabled;
    std::optional<bool> checked;
};

using MenuItemStates = std::map<int, MenuItemState>;

MenuItemStates ComputeMenuRule(MenuKind eKind, const MenuRuleInput& in);
