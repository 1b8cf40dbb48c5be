#include "AdapterCollection.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace {

using quill::app::AdapterCollectors;
using quill::app::CollectAdapterTable;
using quill::netinfo::AdapterCollector;
using quill::netinfo::AdapterInfo;
using quill::netinfo::AdapterTable;

// One run of a made-up collector: what it reports and how many adapters it
// adds to the table.
struct Run {
    bool result;
    int adapters;
};

// Records which collector ran, in order, and plays back scripted runs.
class Script {
public:
    AdapterCollector Collector(std::string name, std::vector<Run> runs)
    {
        return [this, name = std::move(name), runs = std::move(runs), next = std::size_t { 0 }](
                   AdapterTable& table) mutable {
            calls.push_back(name);
            const Run run = next < runs.size() ? runs[next++] : Run { true, 0 };
            for (int i = 0; i < run.adapters; ++i) {
                AdapterInfo& slot = table.slots[static_cast<std::size_t>(table.count)];
                slot.addressParts = { "10", "0", std::to_string(table.count), "1" };
                slot.subnetMask = name;
                ++table.count;
            }
            return run.result;
        };
    }
    std::vector<std::string> calls;
};

struct OrderCase {
    const char* what;
    std::vector<Run> report;
    std::vector<Run> list;
    std::vector<std::string> expectedCalls;
    int expectedCount;
    const char* filledBy;

    // Names the case in test listings.
    friend void PrintTo(const OrderCase& c, std::ostream* out) { *out << c.what; }
};

class CollectionOrder : public ::testing::TestWithParam<OrderCase> { };

TEST_P(CollectionOrder, ReportThenReportAgainThenAdapterListWhileTheCountIsZero)
{
    const OrderCase& c = GetParam();
    Script script;
    AdapterCollectors collectors { script.Collector("report", c.report), script.Collector("list", c.list) };
    AdapterTable table;
    CollectAdapterTable(table, collectors);
    EXPECT_EQ(script.calls, c.expectedCalls);
    EXPECT_EQ(table.count, c.expectedCount);
    if (c.expectedCount > 0) {
        EXPECT_EQ(table.slots[0].subnetMask, c.filledBy);
    }
}

INSTANTIATE_TEST_SUITE_P(MainWindow, CollectionOrder,
    ::testing::Values(OrderCase { "report finds one", { { true, 1 } }, {}, { "report" }, 1, "report" },
        OrderCase { "second report run finds two", { { true, 0 }, { true, 2 } }, {}, { "report", "report" },
            2, "report" },
        OrderCase { "report never finds, list does", { { true, 0 }, { true, 0 } }, { { true, 3 } },
            { "report", "report", "list" }, 3, "list" },
        // The results are not looked at: a failed start still counts its
        // adapters, a successful run without adapters does not stop the chain.
        OrderCase { "report fails yet fills a slot", { { false, 1 } }, {}, { "report" }, 1, "report" },
        OrderCase { "nothing anywhere", { { false, 0 }, { false, 0 } }, { { false, 0 } },
            { "report", "report", "list" }, 0, "" }),
    [](const ::testing::TestParamInfo<OrderCase>& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(CollectAdapterTable, StartsFromAnEmptyTable)
{
    Script script;
    AdapterTable table;
    table.count = 5;
    table.slots[4].subnetMask = "left over";
    CollectAdapterTable(table, AdapterCollectors { script.Collector("report", { { true, 1 } }), {} });
    EXPECT_EQ(table.count, 1);
    EXPECT_TRUE(table.slots[4].subnetMask.empty());
}

TEST(CollectAdapterTable, MissingCollectorsArePassedOver)
{
    AdapterTable table;
    CollectAdapterTable(table, AdapterCollectors {});
    EXPECT_EQ(table.count, 0);

    Script script;
    CollectAdapterTable(table, AdapterCollectors { {}, script.Collector("list", { { true, 1 } }) });
    EXPECT_EQ(script.calls, std::vector<std::string> { "list" });
    EXPECT_EQ(table.count, 1);
}

} // namespace
