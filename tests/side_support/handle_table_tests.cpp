#include <gtest/gtest.h>

#include "side_support/handle_table.h"

namespace {

using sidesupport::HandleTable;

TEST(HandleTable, RefusesHandlesThatNameNothing) {
    HandleTable<int> table(2);
    const int32_t first = table.Add(std::make_shared<int>(7));
    ASSERT_GT(first, 0);
    for (int32_t bad : {0, -1, first + 1, 3, 1 << 30}) {
        EXPECT_EQ(table.Find(bad), nullptr) << bad;
        EXPECT_EQ(table.Remove(bad), nullptr) << bad;
    }
    EXPECT_EQ(*table.Find(first), 7);
}

TEST(HandleTable, FullTableGivesNoHandleAndFreedSlotsAreReused) {
    HandleTable<int> table(2);
    const int32_t a = table.Add(std::make_shared<int>(1));
    const int32_t b = table.Add(std::make_shared<int>(2));
    EXPECT_EQ(table.Add(std::make_shared<int>(3)), 0);
    std::shared_ptr<int> held = table.Find(a);
    ASSERT_NE(table.Remove(a), nullptr);
    // The object outlives its handle while someone still holds it.
    EXPECT_EQ(*held, 1);
    EXPECT_EQ(table.Find(a), nullptr);
    EXPECT_EQ(table.Add(std::make_shared<int>(4)), a);
    EXPECT_EQ(*table.Find(b), 2);
    EXPECT_EQ(table.RemoveAll().size(), 2u);
    EXPECT_EQ(table.Find(b), nullptr);
}

}  // namespace
