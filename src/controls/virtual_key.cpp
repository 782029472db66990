#include "controls/virtual_key.h"

#include <Qt>
#include <array>
#include <utility>

namespace {

// Keys whose codes do not follow from a range below.
constexpr std::array<std::pair<int, uint16_t>, 18> kNamedKeys{{
    {Qt::Key_Backspace, 8},
    {Qt::Key_Tab, 9},
    {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},
    {Qt::Key_Pause, 19},
    {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},
    {Qt::Key_Print, 44},
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},
}};

}  // namespace

uint16_t VirtualKeyFromQtKey(int nQtKey) {
    if (nQtKey >= Qt::Key_0 && nQtKey <= Qt::Key_9) return uint16_t(nQtKey);  // same codes
    if (nQtKey >= Qt::Key_A && nQtKey <= Qt::Key_Z) return uint16_t(nQtKey);
    if (nQtKey >= Qt::Key_F1 && nQtKey <= Qt::Key_F24) return uint16_t(112 + nQtKey - Qt::Key_F1);
    for (const auto& [nQt, wVirtual] : kNamedKeys) {
        if (nQt == nQtKey) return wVirtual;
    }
    return 0;
}

int QtKeyFromVirtualKey(uint16_t wVirtualKey) {
    if (wVirtualKey >= '0' && wVirtualKey <= '9') return wVirtualKey;
    if (wVirtualKey >= 'A' && wVirtualKey <= 'Z') return wVirtualKey;
    if (wVirtualKey >= 112 && wVirtualKey <= 135) return Qt::Key_F1 + (wVirtualKey - 112);
    for (const auto& [nQt, wVirtual] : kNamedKeys) {
        if (wVirtual == wVirtualKey) return nQt;  // Return comes before Enter
    }
    return 0;
}

bool IsExtendedVirtualKey(uint16_t wVirtualKey) {
    return (wVirtualKey >= 33 && wVirtualKey <= 40) || wVirtualKey == 45 || wVirtualKey == 46;
}
