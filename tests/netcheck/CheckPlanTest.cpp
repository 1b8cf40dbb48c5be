#include "CheckPlan.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using quill::netcheck::GivenHosts;
using quill::netcheck::PlanChecks;
using Hosts = std::array<std::string, 3>;

// A host given wins; one not given comes from the settings file named, as the
// check page takes it, or is the product's default.
TEST(CheckPlan, TakesEachHostNotGivenFromTheSettingsFile)
{
    const quill::test::TempDir dir;
    const std::string path = dir.file("site.ini").string();
    quill::test::WriteWholeFile(path, "[RCS]\nIP=10.1.2.3\n[NetCheck]\nNtpHost= time.site.example \n");
    const struct {
        GivenHosts given;
        std::string settings;
        Hosts hosts;
    } cases[] = {
        { {}, path, { "10.1.2.3", "cloud.tessory.example", "time.site.example" } },
        { { "a.example", "", "c.example" }, path, { "a.example", "", "c.example" } },
        { {}, dir.file("absent.ini").string(), { "", "cloud.tessory.example", "pool.ntp.org" } },
    };
    for (const auto& c : cases) {
        const quill::netcheck::CheckPlan plan = PlanChecks(c.given, c.settings);
        EXPECT_EQ((Hosts { plan.rcsHost, plan.cloudHost, plan.ntpHost }), c.hosts) << c.settings;
        EXPECT_TRUE(plan.ports && plan.cloud && plan.ntp);
    }
}
