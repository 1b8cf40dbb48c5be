// The site report as a page and as JSON, from a site with a hostile camera.
#include "SchemaCheck.h"
#include "SiteReportHtml.h"
#include "SiteReportJson.h"
#include "TempDir.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>

namespace quill::report {
namespace {

    using namespace std::chrono_literals;
    using netcheck::ProbeReason;
    using Rows = std::vector<std::vector<std::string>>;

    // Markup, an entity, quotes and bytes that are no UTF-8, as a camera may send them.
    const std::string kHostile = "<script>alert(1)</script> & \"cam\" 'x'\x01 \xff\xfe\xc3";
    const std::string kHostileShown = "<script>alert(1)</script> & \"cam\" 'x'<U+0001> ";

    SiteReport Site()
    {
        netcheck::ProbeOutcome tls { true, ProbeReason::TlsCompleted, 40ms, "TLSv1.3" };
        tls.certificate = { "CN=<b>x</b>", { "x.example" }, false, "CN=Test CA", true, "2026-01-01",
            "2026-12-01", -5, false, false, "self-signed" };
        tls.warning = netcheck::ProbeWarning::Certificate;
        tls.host = "x.example";
        tls.address = "192.0.2.9";
        netcheck::ProbeOutcome ntp { true, ProbeReason::NtpReply, 30ms };
        ntp.ntp = { 12.5, 2, 30.0, "GPS" };
        return { QDateTime(QDate(2026, 12, 6), QTime(14, 51, 5), Qt::OffsetFromUTC, -(5 * 3600 + 1800)),
            "PC-1", "Debian GNU/Linux 12", 2,
            netinfo::AdapterRow {
                "eth0", { 192, 168, 1, 5 }, "255.255.255.0", "192.168.1.1", "192.168.1.1", true, true, true },
            { 192, 168, 1, 1 }, { 192, 168, 1, 254 },
            { { 1, { "192.168.1.20", "SN001", "00:11:22:33:44:55", "Lobby", "1.2.3" } },
                { 2, { "192.168.1.21", "SN&2", "00:11:22:33:44:56", kHostile, "2.0" } } },
            "2 cameras",
            { { "port", "192.168.1.200", 80,
                  { true, ProbeReason::Connected, 12ms, {}, {}, {}, {}, {}, "192.168.1.200" } },
                { "port", "192.168.1.200", 30002, { false, ProbeReason::NoAnswer, 800ms, "800" } },
                { "cloud", "x.example", 443, tls }, { "ntp", "pool.ntp.org", 123, ntp } } };
    }

    // The cell texts of each table by its id, as an XML reader sees them.
    std::map<std::string, Rows> Tables(const std::string& html)
    {
        std::map<std::string, Rows> tables;
        Rows* rows = nullptr;
        QXmlStreamReader reader(QByteArray::fromStdString(html));
        while (!reader.atEnd()) {
            if (reader.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (reader.name() == u"table")
                rows = &tables[reader.attributes().value("id").toString().toStdString()];
            else if (reader.name() == u"tr" && rows)
                rows->emplace_back();
            else if (reader.name() == u"td" && rows)
                rows->back().push_back(reader.readElementText().toStdString());
        }
        EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
        return tables;
    }

    TEST(SiteReport, PageHoldsEveryTableAndEscapesWhatCamerasSend)
    {
        std::ostringstream out;
        WriteSiteReportHtml(out, Site());
        const std::string html = out.str();
        EXPECT_FALSE(std::regex_search(
            html, std::regex(R"(<script|src\s*=|href\s*=|url\(|@import)", std::regex::icase)));
        std::map<std::string, Rows> tables = Tables(html);
        EXPECT_EQ(
            tables["pc"], (Rows { { "2026-12-06T14:51:05-05:30" }, { "PC-1" }, { "Debian GNU/Linux 12" } }));
        EXPECT_EQ(tables["adapter"].size(), 7u);
        EXPECT_EQ(tables["cameras"],
            (Rows { {}, { "1", "192.168.1.20", "SN001", "00:11:22:33:44:55", "Lobby", "1.2.3" },
                { "2", "192.168.1.21", "SN&2", "00:11:22:33:44:56", kHostileShown, "2.0" } }));
        EXPECT_EQ(tables["checks"],
            (Rows { {}, { "Server port", "192.168.1.200:80", "192.168.1.200", "PASS", "已连接", "12" },
                { "Server port", "192.168.1.200:30002", "", "FAIL", "800 毫秒内无响应", "800" },
                { "Cloud (HTTPS)", "x.example:443", "192.0.2.9", "WARN",
                    "证书已于 2026-12-01 过期; 证书并非颁发给 x.example; 本电脑不信任此证书：自签证书; TLS "
                    "握手完成：TLSv1.3",
                    "40" },
                { "Time server (NTP)", "pool.ntp.org:123", "", "PASS", "已获取时间", "30" } }));
        EXPECT_NE(html.find(">2 passed, 1 with warnings, 1 failed</p>"), std::string::npos);
        EXPECT_NE(html.find("<td class=\"warn\">WARN</td>"), std::string::npos);
        EXPECT_EQ(tables["ntp"], (Rows { {}, { "pool.ntp.org:123", "+12.5", "2", "30.0", "GPS" } }));
        EXPECT_EQ(tables["certificates"],
            (Rows { {},
                { "x.example:443", "CN=<b>x</b>", "CN=Test CA", "2026-01-01", "2026-12-01", "-5", "no",
                    "yes" } }));
    }

    int Validate(const SiteReport& site, const QString& change)
    {
        const test::TempDir dir;
        std::ostringstream out;
        WriteSiteReportJson(out, site);
        test::WriteWholeFile(dir.file("report.json"), out.str());
        return test::ValidateSiteReport(dir.file("report.json"), change);
    }

    // The shipped schema takes the report as written and catches a missing,
    // renamed or unknown key and a reason it does not know.
    TEST(SiteReport, JsonFollowsTheShippedSchema)
    {
        const struct {
            const char* change;
            bool valid;
        } cases[] = {
            { "pass", true },
            { "del r['discovery']['cameras'][1]['mac']", false },
            { "r['checks'][0]['elapsed'] = r['checks'][0].pop('elapsed_ms')", false },
            { "del r['adapter']", false },
            { "r['checks'][2]['certificate']['issuer_name'] = ''", false },
            { "r['checks'][2]['reason'] = 'tls_done'", false },
            { "r['schema_version'] = 1", false },
            { "r['checks'][2]['warning'] = 'expired'", false },
            { "r['checks'][1]['verdict'] = 'blocked'", false },
        };
        for (const auto& c : cases)
            EXPECT_EQ(Validate(Site(), c.change), c.valid ? 0 : 3) << c.change;
        SiteReport nothingFound;
        nothingFound.generatedAt = QDateTime(QDate(2026, 1, 2), QTime(3, 4), Qt::UTC);
        EXPECT_EQ(Validate(nothingFound, "pass"), 0) << "no adapter, no camera, no check";
    }

} // namespace
} // namespace quill::report
