#include "DevicePageTestSupport.h"
#include "NetCheckHosts.h"

using namespace quill::netcheck::test;
using namespace device_page;

namespace {

struct PresetCase {
    const char* name;
    std::string settings;
    QString cloudHost;
    QString ntpHost;
};

const PresetCase kPresetCases[] = {
    { "no settings file", "", QStringLiteral("cloud.tessory.example"), QStringLiteral("pool.ntp.org") },
    { "other sections only", "[system]\nLANG=0\n[RCS]\nIP=192.0.2.1\n",
        QStringLiteral("cloud.tessory.example"), QStringLiteral("pool.ntp.org") },
    { "both keys", "[NetCheck]\nCloudHost=portal.site.example\nNtpHost=time.site.example\n",
        QStringLiteral("portal.site.example"), QStringLiteral("time.site.example") },
    { "one key, names in other case, blanks around", "[netcheck]\r\n ntphost = 192.0.2.123 \r\n",
        QStringLiteral("cloud.tessory.example"), QStringLiteral("192.0.2.123") },
    { "empty values count as missing", "[NetCheck]\nCloudHost=\nNtpHost=  \n",
        QStringLiteral("cloud.tessory.example"), QStringLiteral("pool.ntp.org") },
    { "UTF-8 kept, broken bytes dropped",
        "[NetCheck]\nCloudHost=\xE9\x9B\xB2.example\nNtpHost=ntp\xFF.example\n", QStringLiteral("雲.example"),
        QStringLiteral("ntp.example") },
};

} // namespace

TEST_F(DevicePageTest, HostFieldsStartWithTheSitePresetsOrTheDefaults)
{
    for (const PresetCase& preset : kPresetCases) {
        SCOPED_TRACE(preset.name);
        std::filesystem::remove(dir.file("Config.ini"));
        if (!preset.settings.empty())
            WriteSettings(preset.settings);

        auto* fresh = new CDevicePage(QuickProbes());
        fresh->Create(&main);

        EXPECT_EQ(fresh->GetDlgItemText(kCloudHostEdit), preset.cloudHost);
        EXPECT_EQ(fresh->GetDlgItemText(kNtpHostEdit), preset.ntpHost);
        delete fresh;
    }
}

TEST_F(DevicePageTest, PresetsAreReadButNeverWritten)
{
    const std::string settings = "[NetCheck]\nNtpHost=time.site.example\n";
    WriteSettings(settings);
    ShowPage();
    TypeNtpHost(QStringLiteral("typed.example"));
    TypeCloudHost(QStringLiteral("typed-cloud.example"));

    ChooseLanguage(kSimplifiedChinese); // the one write the page makes

    const std::string after = SettingsText();
    EXPECT_NE(after.find("NtpHost=time.site.example"), std::string::npos) << after;
    EXPECT_EQ(after.find("CloudHost"), std::string::npos) << after;
    EXPECT_EQ(after.find("typed"), std::string::npos) << after;
    EXPECT_NE(after.find("LANG=2"), std::string::npos) << after;
}

TEST(NetCheckHosts, DefaultsCannotReachAnyoneElsesServer)
{
    const std::string cloud = quill::netcheck::kDefaultCloudHost;
    EXPECT_EQ(cloud.substr(cloud.size() - 8), ".example");
    EXPECT_GT(cloud.size(), CDevicePage::kShortestUntestedCloudHost);
}
