// The adapter collection order: the report, the report once
// more, then the adapter list, each only while the table is still empty.
#include "AdapterCollection.h"

#include <gtest/gtest.h>

#include <cctype>

using namespace quill::netinfo;

TEST(CollectAdapterTable, ReportThenReportAgainThenAdapterListWhileTheCountIsZero)
{
    // Per run of a collector the adapters it adds, reporting success (a digit)
    // or failure (a letter, 'a' = 0): only the count decides what runs next.
    const struct {
        std::string report, list, calls, filledBy;
        int count;
    } cases[] = { { "1", "", "rep ", "rep", 1 }, { "02", "", "rep rep ", "rep", 2 },
        { "00", "3", "rep rep list ", "list", 3 }, { "b", "", "rep ", "rep", 1 },
        { "aa", "a", "rep rep list ", "", 0 } };
    for (const auto& c : cases) {
        std::string calls;
        const auto collector = [&calls](std::string name, std::string runs) -> AdapterCollector {
            return [&calls, name, runs, next = std::size_t { 0 }](AdapterTable& table) mutable {
                calls += name + " ";
                const char run = next < runs.size() ? runs[next++] : '0';
                for (int i = 0; i < (std::isdigit(run) ? run - '0' : run - 'a'); ++i)
                    table.slots[static_cast<std::size_t>(table.count++)].subnetMask = name;
                return std::isdigit(run) != 0;
            };
        };
        AdapterTable table;
        table.count = 5; // left over from an earlier collection: starts afresh
        CollectAdapterTable(
            table, AdapterCollectors { collector("rep", c.report), collector("list", c.list) });
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(table.count, c.count);
        EXPECT_EQ(table.slots[0].subnetMask, c.filledBy);
    }
}
