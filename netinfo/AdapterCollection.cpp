#include "AdapterCollection.h"

#include "AdaptersInfo.h"
#include "IpconfigParser.h"

namespace quill::netinfo {

namespace {

    bool StillEmpty(const AdapterTable& table)
    {
        return table.count <= 0;
    }

    void RunCollector(const AdapterCollector& collector, AdapterTable& table)
    {
        if (collector)
            collector(table);
    }

} // namespace

AdapterCollectors AdapterCollectors::System()
{
    AdapterSources sources = AdapterSources::System();
    return AdapterCollectors { MakeIpconfigCollector(), MakeAdapterListCollector(sources), sources };
}

void CollectAdapterTable(AdapterTable& table, const AdapterCollectors& collectors)
{
    table = AdapterTable {};
    RunCollector(collectors.ipconfigReport, table);
    if (StillEmpty(table))
        RunCollector(collectors.ipconfigReport, table);
    if (StillEmpty(table))
        RunCollector(collectors.adapterList, table);
}

} // namespace quill::netinfo
