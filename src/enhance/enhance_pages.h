#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The panel's eight pages, one per module, in the order of the page list.
struct EnhancePage {
    int nLabelId;        // the page's label in the list on the left
    int32_t nModule;     // its module bit
    const char* szKey;   // the module's name text
    const char* szDefault;
    int nEnableId;       // the module's enable box
    std::vector<int> fields;  // the rows, top to bottom (block fields)
    int nEnableY;        // the enable box's row
    int nEnableWidth;
};
inline constexpr int ENHANCE_PAGE_COUNT = 8;
const std::array<EnhancePage, ENHANCE_PAGE_COUNT>& EnhancePages();
// The page of a module bit; null for anything but one module bit.
const EnhancePage* EnhancePageOfModule(int32_t nModule);
