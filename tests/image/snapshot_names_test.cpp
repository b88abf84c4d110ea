#include "image/snapshot_names.h"

#include <gtest/gtest.h>

namespace morvanex {
namespace {

TEST(SnapshotNames, PlainNumbersWithoutLeadingZeros) {
    EXPECT_EQ(snapshotFileName({2026, 12, 8, 9, 5, 7}), "ink2026128957.bmp");
    EXPECT_EQ(snapshotFileName({2025, 1, 2, 0, 0, 0}), "ink202512000.bmp");
    EXPECT_EQ(snapshotFileName({2030, 11, 30, 23, 59, 58}), "ink20301130235958.bmp");
    const LocalTime now = currentLocalTime();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_EQ(snapshotFileName(now).rfind("ink", 0), 0u);
}

}  // namespace
}  // namespace morvanex
