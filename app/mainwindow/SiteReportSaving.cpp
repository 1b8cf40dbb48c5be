#include "SiteReportSaving.h"

#include "CSearchPage.h"
#include "TextConversion.h"
#include "ThisPc.h"

#include <boost/algorithm/string/join.hpp>

namespace quill::app {

report::SiteReport WindowSiteReport(
    const CSearchPage& search, const netinfo::AdapterInfo* adapter, bool defaultRoute, int language)
{
    const report::PcIdentity pc = report::ThisPc();
    report::SiteReport site;
    site.generatedAt = QDateTime::currentDateTime();
    site.pcName = pc.name;
    site.osName = pc.os;
    site.language = language;
    if (adapter) {
        // The window lists adapters that are up with a link, so each has a carrier.
        site.adapter = netinfo::AdapterRow { adapter->interfaceName,
            boost::algorithm::join(adapter->addressParts, "."), adapter->subnetMask, adapter->defaultGateway,
            adapter->dnsServer, true, defaultRoute, true };
    }
    site.rangeBegin = search.BeginAddress();
    site.rangeEnd = search.EndAddress();
    site.cameras = search.ResultRows();
    site.discoverySummary = search.Engine().StatusText(language);
    site.findings = search.Engine().Problems(language);
    return site;
}

} // namespace quill::app
