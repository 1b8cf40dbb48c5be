#pragma once

#include "AdapterInfo.h"
#include "AdaptersInfo.h"

namespace quill::netinfo {

// Where a front end gets the PC's adapters from. The program uses the
// platform's ipconfig report first and its adapter list as the fallback;
// tests hand in collectors that fill a made-up table. The sources tell where
// the routes are read for the adapters beside the table (AdapterRows.h).
struct AdapterCollectors {
    AdapterCollector ipconfigReport;
    AdapterCollector adapterList;
    AdapterSources sources {};

    static AdapterCollectors System();
};

// Empties the table and fills it once: the report, the report a second time
// when it found nothing (the report command sometimes answers empty on its
// first run), then the adapter list when the report still found nothing. Only
// the table's count decides; what a collector returns is not looked at. A
// collector left empty is passed over.
void CollectAdapterTable(AdapterTable& table, const AdapterCollectors& collectors);

} // namespace quill::netinfo
