#include "AdapterCollection.h"

#include "AdaptersInfo.h"
#include "IpconfigParser.h"

namespace quill::app {

namespace {

    bool StillEmpty(const netinfo::AdapterTable& table)
    {
        return table.count <= 0;
    }

    void RunCollector(const netinfo::AdapterCollector& collector, netinfo::AdapterTable& table)
    {
        if (collector)
            collector(table);
    }

} // namespace

AdapterCollectors AdapterCollectors::System()
{
    return AdapterCollectors { netinfo::MakeIpconfigCollector(), netinfo::MakeAdapterListCollector() };
}

void CollectAdapterTable(netinfo::AdapterTable& table, const AdapterCollectors& collectors)
{
    table = netinfo::AdapterTable {};
    RunCollector(collectors.ipconfigReport, table);
    if (StillEmpty(table))
        RunCollector(collectors.ipconfigReport, table);
    if (StillEmpty(table))
        RunCollector(collectors.adapterList, table);
}

} // namespace quill::app
