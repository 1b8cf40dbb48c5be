#include "SiteReportSaving.h"

#include "CSearchPage.h"
#include "TextConversion.h"
#include "ThisPc.h"

namespace quill::app {

report::SiteReport WindowSiteReport(
    const CSearchPage& search, const netinfo::AdapterRow* adapter, int language)
{
    const report::PcIdentity pc = report::ThisPc();
    report::SiteReport site;
    site.generatedAt = QDateTime::currentDateTime();
    site.pcName = pc.name;
    site.osName = pc.os;
    site.language = language;
    if (adapter)
        site.adapter = *adapter;
    site.rangeBegin = search.BeginAddress();
    site.rangeEnd = search.EndAddress();
    site.cameras = search.ResultRows();
    site.discoverySummary = search.Engine().StatusText(language);
    site.findings = search.Engine().Problems(language);
    return site;
}

} // namespace quill::app
