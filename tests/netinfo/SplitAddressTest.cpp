#include "SplitAddress.h"

#include <gtest/gtest.h>

using namespace quill::netinfo;
using Parts = std::vector<std::string>;

namespace {

TEST(SplitAddress, FillsTheSlotAtCountOrLeavesItUntouched)
{
    const struct {
        const char* address;
        Parts parts; // empty: refused
    } cases[] = {
        { "192.168.1.20", { "192", "168", "1", "20" } },
        { "0.0.0.0", { "0", "0", "0", "0" } },
        { "1.2.3.4.5", { "1", "2", "3", "4", "5" } },
        { "..a....", { "", "", "a", "", "", "", "" } },
        { "abcdef.", { "abcdef", "" } },
        { "1.2.3.", {} },
        { "", {} },
        { "fe80::1%12", {} },
        { "1234567", {} },
    };
    for (const auto& c : cases) {
        AdapterTable table;
        table.count = 2;
        table.slots[2].addressParts = { "left", "over" };
        EXPECT_EQ(SplitAddress(table, c.address), !c.parts.empty()) << c.address;
        EXPECT_EQ(table.count, 2) << "the caller increments the count";
        EXPECT_EQ(table.slots[2].addressParts, (c.parts.empty() ? Parts { "left", "over" } : c.parts));
    }
}

TEST(SplitAddress, NeverWritesPastTheLastSlot)
{
    for (const std::int32_t count : { kAdapterSlotCount, -1 }) {
        AdapterTable table;
        table.count = count;
        EXPECT_FALSE(SplitAddress(table, "192.168.1.20"));
    }
}

} // namespace
