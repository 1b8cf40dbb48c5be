#include "SplitAddress.h"
#include "NetinfoTestSupport.h"

#include <gtest/gtest.h>

using quill::netinfo::AdapterTable;
using quill::netinfo::kAdapterSlotCount;
using quill::netinfo::SplitAddress;

namespace {

struct SplitCase {
    const char* address;
    std::vector<std::string> parts; // empty: refused
};

class SplitAddressCases : public ::testing::TestWithParam<SplitCase> { };

TEST_P(SplitAddressCases, FillsTheSlotAtCountOrLeavesItUntouched)
{
    AdapterTable table;
    table.count = 2;
    table.slots[2].addressParts = { "left", "over" };
    const bool split = SplitAddress(table, GetParam().address);

    EXPECT_EQ(split, !GetParam().parts.empty());
    EXPECT_EQ(table.count, 2) << "the caller increments the count";
    if (split)
        EXPECT_EQ(table.slots[2].addressParts, GetParam().parts);
    else
        EXPECT_EQ(table.slots[2].addressParts, (std::vector<std::string> { "left", "over" }));
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitAddressCases,
    ::testing::Values(SplitCase { "192.168.1.20", { "192", "168", "1", "20" } },
        SplitCase { "10.0.0.1", { "10", "0", "0", "1" } }, SplitCase { "0.0.0.0", { "0", "0", "0", "0" } },
        SplitCase { "1.2.3.4.5", { "1", "2", "3", "4", "5" } },
        SplitCase { "..a....", { "", "", "a", "", "", "", "" } }, SplitCase { "abcdef.", { "abcdef", "" } },
        SplitCase { "1.2.3.", {} }, SplitCase { "", {} }, SplitCase { "fe80::1%12", {} },
        SplitCase { "1234567", {} }));

TEST(SplitAddress, NeverWritesPastTheLastSlot)
{
    AdapterTable table;
    table.count = kAdapterSlotCount;
    EXPECT_FALSE(SplitAddress(table, "192.168.1.20"));
    table.count = -1;
    EXPECT_FALSE(SplitAddress(table, "192.168.1.20"));
}

} // namespace
