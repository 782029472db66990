#include "mainwnd/menu_rule.h"

#include <initializer_list>

#include "mainwnd/command_ids.h"

namespace {
// Items that need a file, and which of them a stopped file still allows.
constexpr int kMainNeedsFile[] = {ID_FILE_INFO, ID_CLOSE_FILE, ID_PLAY_PAUSE, ID_STOP,
                                  ID_BACK_PLAY, ID_LOCATE,     ID_NEXT_FRAME, ID_LAST_FRAME,
                                  ID_SPEED_UP,  ID_SPEED_DOWN, ID_CAPTURE,    ID_CONTINUOUS_CAPTURE,
                                  ID_CUT,       ID_PART_ZOOM,  ID_IVS};
constexpr int kMainStoppedAllows[] = {ID_FILE_INFO, ID_CLOSE_FILE, ID_PLAY_PAUSE, ID_STOP, ID_IVS};
constexpr int kToolNeedsFile[] = {ID_CAPTURE, ID_CONTINUOUS_CAPTURE, ID_CUT, ID_PART_ZOOM};
constexpr int kContextNeedsFile[] = {
    ID_PLAY_PAUSE, ID_STOP,     ID_BACK_PLAY,  ID_LOCATE,  ID_NEXT_FRAME,
    ID_LAST_FRAME, ID_SPEED_UP, ID_SPEED_DOWN, ID_CAPTURE, ID_CONTINUOUS_CAPTURE,
    ID_IVS};
constexpr int kContextStoppedAllows[] = {ID_PLAY_PAUSE, ID_STOP, ID_IVS};
constexpr int kSizeItems[] = {ID_NORMAL_SIZE, ID_DOUBLE_SIZE, ID_HALF_SIZE, ID_QUARTER_SIZE};
constexpr int kPlayOrderItems[] = {ID_ORDER_SINGLE_PLAY, ID_ORDER_LIST_PLAY, ID_ORDER_SINGLE_REPEAT,
                                   ID_ORDER_LIST_REPEAT};
constexpr int kLayoutItems[] = {ID_LAYOUT_1, ID_LAYOUT_4, ID_LAYOUT_9, ID_LAYOUT_16};

template <size_t N>
bool Contains(const int (&ids)[N], int nId) {
    for (int n : ids) {
        if (n == nId) return true;
    }
    return false;
}

template <size_t N, size_t M>
void ApplyFileRule(MenuItemStates& out, int32_t nState, const int (&needsFile)[N],
                   const int (&stoppedAllows)[M], bool bHasFullScreen) {
    const bool bPlayable = nState == 1 || nState == 2;
    if (nState != 0 && nState != 3 && !bPlayable) return;  // state 4 leaves them alone
    for (int nId : needsFile) {
        out[nId].enabled = bPlayable || (nState == 3 && Contains(stoppedAllows, nId));
    }
    if (bHasFullScreen) out[ID_FULL_SCREEN].enabled = true;
}

void Check(MenuItemStates& out, std::initializer_list<int> ids, int nChecked) {
    for (int nId : ids) out[nId].checked = nId == nChecked;
}

int PlayOrderItem(int32_t nOrder) {
    switch (nOrder) {
        case 1:
            return ID_ORDER_SINGLE_PLAY;
        case 2:
            return ID_ORDER_LIST_PLAY;
        case 3:
            return ID_ORDER_SINGLE_REPEAT;
        case 4:
            return ID_ORDER_LIST_REPEAT;
        default:
            return 0;
    }
}

void PlayOrderRule(MenuItemStates& out, const MenuRuleInput& in) {
    for (int nId : kPlayOrderItems) {
        out[nId].checked = nId == PlayOrderItem(in.nPlayOrder);
        out[nId].enabled = !in.bSync;
    }
}

// Checks shared by the main and the context menu.
void CommonChecks(MenuItemStates& out, const MenuRuleInput& in) {
    const int nTop = in.nTopMostMode == 0   ? ID_TOP_NEVER
                     : in.nTopMostMode == 1 ? ID_TOP_PLAYING
                     : in.nTopMostMode == 2 ? ID_TOP_ALWAYS
                                            : 0;
    Check(out, {ID_TOP_NEVER, ID_TOP_PLAYING, ID_TOP_ALWAYS}, nTop);
    out[ID_HIGH_QUALITY].checked = in.bHighQuality;
    out[ID_MUTE].checked = !in.bSoundOn;
    out[ID_CONTINUOUS_CAPTURE].checked = in.bConCapturing;
    out[ID_BACK_PLAY].checked = in.bBackPlay;
    out[ID_IVS].checked = in.bIvsOn;
    const int nLayoutItem = in.nLayout == 1    ? ID_LAYOUT_1
                            : in.nLayout == 4  ? ID_LAYOUT_4
                            : in.nLayout == 9  ? ID_LAYOUT_9
                            : in.nLayout == 16 ? ID_LAYOUT_16
                                               : 0;
    for (int nId : kLayoutItems) out[nId].checked = nId == nLayoutItem;
    const bool bSizes = in.nLayout == 1 && (in.nState == 1 || in.nState == 2);
    for (int nId : kSizeItems) out[nId].enabled = bSizes;
    PlayOrderRule(out, in);
    // The enhancement panel's item opens it; while it is open the item rests.
    out[ID_VIDEO_ENHANCE].enabled = !in.bEnhanceShown;
}
}  // namespace

MenuItemStates ComputeMenuRule(MenuKind eKind, const MenuRuleInput& in) {
    MenuItemStates out;
    switch (eKind) {
        case MenuKind::Main: {
            ApplyFileRule(out, in.nState, kMainNeedsFile, kMainStoppedAllows, true);
            CommonChecks(out, in);
            const int nLang = in.nLanguage == 1   ? ID_LANG_CHINESE
                              : in.nLanguage == 2 ? ID_LANG_ENGLISH
                              : in.nLanguage == 6 ? ID_LANG_PORTUGUESE
                                                  : 0;
            Check(out, {ID_LANG_CHINESE, ID_LANG_ENGLISH, ID_LANG_PORTUGUESE}, nLang);
            break;
        }
        case MenuKind::ToolBox: {
            constexpr int kNone[] = {0};
            ApplyFileRule(out, in.nState, kToolNeedsFile, kNone, false);
            out[ID_CONTINUOUS_CAPTURE].checked = in.bConCapturing;
            out[ID_VIDEO_ENHANCE].enabled = !in.bEnhanceShown;
            break;
        }
        case MenuKind::Context:
            ApplyFileRule(out, in.nState, kContextNeedsFile, kContextStoppedAllows, true);
            CommonChecks(out, in);
            out[ID_FULL_SCREEN].checked = in.bFullScreen;
            break;
    }
    return out;
}
