// The main window's adapter collection order: the report, the report once
// more, then the adapter list, each only while the table is still empty.
#include "AdapterCollection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace quill::app;
using namespace quill::netinfo;

// One step of a made-up collector: what it reports and how many adapters it adds.
struct Step {
    bool result;
    int adapters;
};

// Records which collector ran, in order, and plays back scripted runs.
struct Script {
    AdapterCollector Collector(std::string name, std::vector<Step> runs)
    {
        return [this, name, runs, next = std::size_t { 0 }](AdapterTable& table) mutable {
            calls.push_back(name);
            const Step run = next < runs.size() ? runs[next++] : Step { true, 0 };
            for (int i = 0; i < run.adapters; ++i)
                table.slots[static_cast<std::size_t>(table.count++)].subnetMask = name;
            return run.result;
        };
    }
    std::vector<std::string> calls;
};

TEST(CollectAdapterTable, ReportThenReportAgainThenAdapterListWhileTheCountIsZero)
{
    const struct {
        std::vector<Step> report, list;
        std::vector<std::string> calls;
        int count;
    } cases[] = {
        { { { true, 1 } }, {}, { "report" }, 1 },
        { { { true, 0 }, { true, 2 } }, {}, { "report", "report" }, 2 },
        { { { true, 0 }, { true, 0 } }, { { true, 3 } }, { "report", "report", "list" }, 3 },
        // The results are not looked at: a failed run still counts its
        // adapters, a successful run without adapters does not stop the chain.
        { { { false, 1 } }, {}, { "report" }, 1 },
        { { { false, 0 }, { false, 0 } }, { { false, 0 } }, { "report", "report", "list" }, 0 },
    };
    for (const auto& c : cases) {
        Script script;
        AdapterTable table;
        table.count = 5; // left over from an earlier collection: starts afresh
        table.slots[4].subnetMask = "left over";
        CollectAdapterTable(table,
            AdapterCollectors { script.Collector("report", c.report), script.Collector("list", c.list) });
        EXPECT_EQ(script.calls, c.calls);
        ASSERT_EQ(table.count, c.count);
        if (c.count > 0) {
            EXPECT_EQ(table.slots[0].subnetMask, c.calls.back());
        }
        EXPECT_NE(table.slots[4].subnetMask, "left over");
    }
}

} // namespace
