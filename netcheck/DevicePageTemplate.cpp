#include "DevicePageTemplate.h"

#include "CLanguagePage.h"
#include "DevicePageIds.h"

using namespace device_page;

DialogTemplate DevicePageTemplate()
{
    constexpr ControlFlags kNone {};
    const auto text = [](const char* utf8) { return QString::fromUtf8(utf8); };

    DialogTemplate page;
    page.id = 2001;
    page.size = QSize(316, 190);
    page.fontFamily = QStringLiteral("MS Shell Dlg");
    page.fontPointSize = 8;
    page.controls = {
        { kIpLabel, ControlKind::Static, text("IP :"), QRect(56, 17, 26, 14), kNone },
        { kGatewayLabel, ControlKind::Static, text("Default Gateway :"), QRect(9, 57, 68, 14), kNone },
        { kMaskLabel, ControlKind::Static, text("Subnet Mask :"), QRect(22, 36, 52, 12), kNone },
        { kDnsLabel, ControlKind::Static, text("DNS Server :"), QRect(27, 78, 42, 14), kNone },
        { kIpText, ControlKind::Static, text("N/A"), QRect(71, 15, 68, 16), ControlFlag::SunkenBorder },
        { kMaskText, ControlKind::Static, text("N/A"), QRect(71, 35, 68, 16), ControlFlag::SunkenBorder },
        { kGatewayText, ControlKind::Static, text("N/A"), QRect(71, 55, 68, 16), ControlFlag::SunkenBorder },
        { kDnsText, ControlKind::Static, text("N/A"), QRect(71, 75, 68, 16), ControlFlag::SunkenBorder },
        { kCloudHostLabel, ControlKind::Static, text("Tessory+ Server IP: https:// "), QRect(11, 126, 90, 14),
            kNone },
        { kLanInformationGroup, ControlKind::GroupBox, text("Lan Network Information:"), QRect(5, 2, 139, 92),
            kNone },
        { kCloudGroup, ControlKind::GroupBox, text("Tessory+ Cloud:"), QRect(5, 96, 305, 63), kNone },
        { kCloudHostEdit, ControlKind::Edit, {}, QRect(102, 124, 120, 14),
            ControlFlag::Border | ControlFlag::AutoScroll },
        { kCloudTestButton, ControlKind::Button, text("TEST"), QRect(231, 124, 72, 14), ControlFlag::Flat },
        { CLanguagePage::kLanguageLabelId, ControlKind::Static, text("Language:"), QRect(197, 175, 36, 10),
            kNone },
        { CLanguagePage::kLanguageComboId, ControlKind::DropDownList, {}, QRect(236, 172, 80, 30), kNone },
        { kLanConnectionGroup, ControlKind::GroupBox, text("Lan Connection"), QRect(152, 2, 158, 92), kNone },
        { kPort80Result, ControlKind::Static, text(" N/A"), QRect(209, 15, 23, 14),
            ControlFlag::SunkenBorder },
        { kPort30001Result, ControlKind::Static, text(" N/A"), QRect(209, 35, 23, 14),
            ControlFlag::SunkenBorder },
        { kPort30002Result, ControlKind::Static, text(" N/A"), QRect(209, 55, 23, 14),
            ControlFlag::SunkenBorder },
        { kPort30003Result, ControlKind::Static, text(" N/A"), QRect(209, 75, 23, 14),
            ControlFlag::SunkenBorder },
        { kPort80Label, ControlKind::Static, text("Port 80 :"), QRect(172, 15, 28, 14), kNone },
        { kPort30001Label, ControlKind::Static, text("Port 30001 :"), QRect(160, 35, 44, 14), kNone },
        { kPort30002Label, ControlKind::Static, text("Port 30002 :"), QRect(160, 55, 44, 14), kNone },
        { kPort30003Label, ControlKind::Static, text("Port 30003 :"), QRect(160, 75, 44, 12), kNone },
        { kPort443Label, ControlKind::Static, text("Port 443 :"), QRect(15, 140, 36, 11), kNone },
        { kPort123Label, ControlKind::Static, text("Port 123 :"), QRect(85, 140, 36, 11), kNone },
        { kPort5672Label, ControlKind::Static, text("Port 5672 :"), QRect(155, 140, 36, 13), kNone },
        { kPort5673Label, ControlKind::Static, text("Port 5673 :"), QRect(225, 140, 36, 13),
            ControlFlag::Hidden },
        { kPort443Result, ControlKind::Static, text(" N/A"), QRect(50, 140, 23, 14),
            ControlFlag::SunkenBorder },
        { kPort123Result, ControlKind::Static, text(" N/A"), QRect(125, 140, 23, 14),
            ControlFlag::SunkenBorder },
        { kPort5672Result, ControlKind::Static, text(" N/A"), QRect(195, 140, 23, 14),
            ControlFlag::SunkenBorder },
        { kPort5673Result, ControlKind::Static, text(" N/A"), QRect(265, 140, 23, 14),
            ControlFlag::SunkenBorder | ControlFlag::Hidden },
        { kCheckButton, ControlKind::Button, text("Check"), QRect(235, 13, 70, 15), kNone },
        { kNtpHostLabel, ControlKind::Static, text("NTP Server IP: http:// "), QRect(28, 111, 74, 14),
            kNone },
        { kNtpHostEdit, ControlKind::Edit, {}, QRect(102, 108, 120, 14),
            ControlFlag::Border | ControlFlag::AutoScroll },
        { kNtpTestButton, ControlKind::Button, text("TEST"), QRect(231, 108, 72, 14), ControlFlag::Flat },
    };
    return page;
}
