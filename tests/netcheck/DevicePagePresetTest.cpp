#include "DevicePageTestSupport.h"

using namespace quill::netcheck::test;
using namespace device_page;

TEST_F(DevicePageTest, HostFieldsStartWithTheSitePresetsOrTheDefaults)
{
    const QString cloudDefault = QStringLiteral("cloud.tessory.example");
    const QString ntpDefault = QStringLiteral("pool.ntp.org");
    const struct {
        const char* settings; // empty: no settings file
        QString cloudHost;
        QString ntpHost;
    } cases[] = {
        { "", cloudDefault, ntpDefault },
        { "[system]\nLANG=0\n[RCS]\nIP=192.0.2.1\n", cloudDefault, ntpDefault },
        { "[NetCheck]\nCloudHost=portal.site.example\nNtpHost=time.site.example\n",
            QStringLiteral("portal.site.example"), QStringLiteral("time.site.example") },
        { "[netcheck]\r\n ntphost = 192.0.2.123 \r\n", cloudDefault, QStringLiteral("192.0.2.123") },
        { "[NetCheck]\nCloudHost=\nNtpHost=  \n", cloudDefault, ntpDefault },
        { "[NetCheck]\nCloudHost=\xE9\x9B\xB2.example\nNtpHost=ntp\xFF.example\n", QStringLiteral("雲.example"),
            QStringLiteral("ntp.example") },
    };
    for (const auto& preset : cases) {
        SCOPED_TRACE(preset.settings);
        std::filesystem::remove(dir.file("Config.ini"));
        if (*preset.settings)
            WriteSettings(preset.settings);

        const auto fresh = std::make_unique<CDevicePage>(QuickProbes());
        fresh->Create(&main);

        EXPECT_EQ(fresh->GetDlgItemText(kCloudHostEdit), preset.cloudHost);
        EXPECT_EQ(fresh->GetDlgItemText(kNtpHostEdit), preset.ntpHost);
    }
}

TEST_F(DevicePageTest, PresetsAreReadButNeverWritten)
{
    WriteSettings("[NetCheck]\nNtpHost=time.site.example\n");
    ShowPage();
    page->SetDlgItemText(kNtpHostEdit, QStringLiteral("typed.example"));
    page->SetDlgItemText(kCloudHostEdit, QStringLiteral("typed-cloud.example"));

    ChooseLanguage(kSimplifiedChinese); // the one write the page makes

    const std::string after = SettingsText();
    EXPECT_NE(after.find("NtpHost=time.site.example"), std::string::npos) << after;
    EXPECT_EQ(after.find("CloudHost"), std::string::npos) << after;
    EXPECT_EQ(after.find("typed"), std::string::npos) << after;
    EXPECT_NE(after.find("LANG=2"), std::string::npos) << after;
}
