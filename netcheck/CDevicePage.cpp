#include "CDevicePage.h"

#include "BusyCursor.h"
#include "DevicePageIds.h"
#include "DevicePageTemplate.h"
#include "DevicePageTexts.h"
#include "NetCheckHosts.h"
#include "TextConversion.h"

#include <QLabel>
#include <QLineEdit>

#include <utility>

using namespace device_page;

namespace {

// The result fields of the four port rows, in slot order.
constexpr std::array<int, 4> kLanResultIds { kPort80Result, kPort30001Result, kPort30002Result,
    kPort30003Result };

} // namespace

CDevicePage::CDevicePage(QWidget* parent)
    : CDevicePage(DeviceProbes {}, parent)
{
}

CDevicePage::CDevicePage(DeviceProbes probes, QWidget* parent)
    // Hiding this page leaves its texts alone; only showing it re-applies the
    // language.
    : CLanguagePage(DevicePageTemplate(), /*reapplyOnHide*/ false, parent)
    , m_probes(std::move(probes))
{
    MapCommand(kCloudTestButton, BN_CLICKED, [this] { OnClickedCloudTest(); });
    MapCommand(kCheckButton, BN_CLICKED, [this] { OnClickedCheck(); });
    MapCommand(kNtpTestButton, BN_CLICKED, [this] { OnClickedNtpTest(); });
}

void CDevicePage::DoDataExchange()
{
    CLanguagePage::DoDataExchange();
    m_ipText = GetDlgItemAs<QLabel>(kIpText);
    m_maskText = GetDlgItemAs<QLabel>(kMaskText);
    m_gatewayText = GetDlgItemAs<QLabel>(kGatewayText);
    m_dnsText = GetDlgItemAs<QLabel>(kDnsText);
    m_cloudHostEdit = GetDlgItemAs<QLineEdit>(kCloudHostEdit);
    m_ntpHostEdit = GetDlgItemAs<QLineEdit>(kNtpHostEdit);
}

bool CDevicePage::OnInitDialog()
{
    CLanguagePage::OnInitDialog();
    InitLanguageSelector();
    m_results.fill(kNotTested);
    SetDlgItemText(kCloudHostEdit, quill::text::Utf8ToWide(quill::netcheck::PresetCloudHost()));
    SetDlgItemText(kNtpHostEdit, quill::text::Utf8ToWide(quill::netcheck::PresetNtpHost()));
    return true;
}

void CDevicePage::OnClickedCheck()
{
    RunChecks({}, false);
}

void CDevicePage::OnClickedCloudTest()
{
    std::string host = HostText(kCloudHostEdit);
    if (host.empty())
        return;
    RunChecks(std::move(host), true);
}

void CDevicePage::OnClickedNtpTest()
{
    std::string host = HostText(kNtpHostEdit);
    if (host.empty())
        return;
    {
        const BusyCursor busy;
        m_results[kNtpSlot] = ResultOf(ProbeNtp(std::move(host), m_probes.ntpPort, m_probes.ntpTimeout));
    }
    ApplyLanguage(m_language, true);
}

void CDevicePage::RunChecks(std::string host, bool cloud)
{
    if (!cloud) {
        const BusyCursor busy;
        // Always all four: the rows tell the installer which ports are blocked.
        for (std::size_t slot = 0; slot < m_probes.lanPorts.size(); ++slot)
            m_results[slot] = ResultOf(ProbePort({}, m_probes.lanPorts[slot], m_probes.portTimeout));
    } else if (host.size() > kShortestUntestedCloudHost) {
        const BusyCursor busy;
        m_results[kCloudSlot] = ResultOf(ProbeHttps(host, m_probes.cloudPort, m_probes.httpsTimeout));
        m_results[kCloudTlsSlot] = ResultOf(ProbeHttps(host, m_probes.cloudTlsPort, m_probes.httpsTimeout));
    }
    ApplyLanguage(m_language, cloud);
}

void CDevicePage::ApplyLanguage(LanguageId language, bool cloudPart)
{
    if (!IsLanguage(language))
        return;
    if (cloudPart) {
        SetDlgItemText(kPort123Result, ResultText(m_results[kNtpSlot], language));
        SetDlgItemText(kPort5672Result, ResultText(m_results[kCloudSlot], language));
        SetDlgItemText(kPort443Result, ResultText(m_results[kCloudTlsSlot], language));
        return;
    }
    for (const auto& [id, texts] : kControlTexts)
        SetDlgItemText(id, LanguageText(texts, language));
    ApplySelectorLanguage(language);
    for (std::size_t slot = 0; slot < kLanResultIds.size(); ++slot)
        SetDlgItemText(kLanResultIds[slot], ResultText(m_results[slot], language));
}

void CDevicePage::ApplyPageLanguage(LanguageId language)
{
    ApplyLanguage(language, false);
    ApplyLanguage(language, true);
}

std::string CDevicePage::HostText(int editId) const
{
    // A blank copied along with a host name would make a reachable server
    // read " Fail".
    return quill::text::WideToUtf8(GetDlgItemText(editId).trimmed());
}
