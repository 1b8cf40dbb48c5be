#include "CDevicePage.h"

#include "DevicePageIds.h"
#include "DevicePageTemplate.h"
#include "DevicePageTexts.h"
#include "NetCheckHosts.h"
#include "OutcomeText.h"
#include "ProfileSettings.h"
#include "TextConversion.h"
#include "WarningColour.h"

#include <QLabel>
#include <QLineEdit>

#include <utility>

using namespace device_page;
using quill::netcheck::CheckRunner;
using quill::netcheck::ProbeOutcome;

namespace {

// The result field of each slot, in slot order; slot 6 is never shown.
constexpr std::array<int, CDevicePage::kResultCount> kResultIds { kPort80Result, kPort30001Result,
    kPort30002Result, kPort30003Result, kPort123Result, kPort5672Result, kPort5673Result, kPort443Result };

// The product's probes, with the working directory's settings file.
DeviceProbes WindowProbes()
{
    DeviceProbes probes;
    probes.settingsPath = quill::settings::SettingsPath();
    return probes;
}

} // namespace

CDevicePage::CDevicePage(QWidget* parent)
    : CDevicePage(WindowProbes(), parent)
{
}

CDevicePage::CDevicePage(DeviceProbes probes, QWidget* parent)
    // Hiding this page leaves its texts alone; only showing it re-applies the
    // language.
    : CLanguagePage(DevicePageTemplate(), /*reapplyOnHide*/ false, parent)
    , m_probes(probes)
    , m_runner(std::make_unique<CheckRunner>(std::move(probes)))
{
    MapCommand(kCloudTestButton, BN_CLICKED, [this] { OnClickedCloudTest(); });
    MapCommand(kCheckButton, BN_CLICKED, [this] { OnClickedCheck(); });
    MapCommand(kNtpTestButton, BN_CLICKED, [this] { OnClickedNtpTest(); });
    connect(m_runner.get(), &CheckRunner::ProbeEnded, this,
        [this](int slot, const ProbeOutcome& outcome) { OnProbeEnded(slot, outcome); });
}

quill::netcheck::CheckPlan CDevicePage::CurrentPlan() const
{
    quill::netcheck::CheckPlan plan = quill::netcheck::PlanChecks(
        { std::nullopt, HostText(kCloudHostEdit), HostText(kNtpHostEdit) }, m_probes.settingsPath);
    plan.cloud = plan.cloudHost.size() > kShortestUntestedCloudHost;
    return plan;
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
    SetDlgItemText(
        kCloudHostEdit, quill::text::Utf8ToWide(quill::netcheck::PresetCloudHost(m_probes.settingsPath)));
    SetDlgItemText(
        kNtpHostEdit, quill::text::Utf8ToWide(quill::netcheck::PresetNtpHost(m_probes.settingsPath)));
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
    if (m_runner->StartNtp(host))
        Started(kNtpSlot);
    ApplyLanguage(m_language, true);
}

void CDevicePage::RunChecks(std::string host, bool cloud)
{
    if (!cloud) {
        // Always all four: the rows tell the installer which ports are blocked.
        if (m_runner->StartCheck())
            for (std::size_t slot = 0; slot < 4; ++slot)
                Started(slot);
    } else if (host.size() > kShortestUntestedCloudHost && m_runner->StartCloud(host)) {
        Started(kCloudSlot);
        Started(kCloudTlsSlot);
    }
    ApplyLanguage(m_language, cloud);
}

void CDevicePage::Started(std::size_t slot)
{
    m_running[slot] = true;
    UpdateButtons();
}

void CDevicePage::UpdateButtons()
{
    GetDlgItem(kCheckButton)->setEnabled(!m_runner->IsRunning(CheckRunner::kCheck));
    GetDlgItem(kCloudTestButton)->setEnabled(!m_runner->IsRunning(CheckRunner::kCloud));
    GetDlgItem(kNtpTestButton)->setEnabled(!m_runner->IsRunning(CheckRunner::kNtp));
}

void CDevicePage::OnProbeEnded(int slot, const ProbeOutcome& outcome)
{
    const auto index = static_cast<std::size_t>(slot);
    m_results[index] = ResultOf(outcome.passed);
    m_outcomes[index] = outcome;
    m_running[index] = false;
    UpdateButtons();
    ShowResult(index, m_language);
}

void CDevicePage::ShowResult(std::size_t slot, LanguageId language)
{
    if (!IsLanguage(language))
        return;
    auto* field = GetDlgItemAs<QLabel>(kResultIds[slot]);
    field->setText(m_running[slot] ? QStringLiteral("…") : ResultText(m_results[slot], language));
    const ProbeOutcome& outcome = m_outcomes[slot];
    const bool tested = m_results[slot] != kNotTested;
    field->setToolTip(
        tested ? QString::fromStdString(quill::netcheck::DescribeOutcome(outcome, language)) : QString());
    // A pass with a warning keeps its " OK" in the warning colour; the
    // tooltip leads with the warning.
    QPalette palette = field->parentWidget()->palette();
    if (tested && !m_running[slot] && quill::netcheck::VerdictOf(outcome) == quill::netcheck::Verdict::Warn)
        palette.setColor(QPalette::WindowText, WarningColour());
    field->setPalette(palette);
}

void CDevicePage::ApplyLanguage(LanguageId language, bool cloudPart)
{
    if (!IsLanguage(language))
        return;
    if (cloudPart) {
        for (const std::size_t slot : { kNtpSlot, kCloudSlot, kCloudTlsSlot })
            ShowResult(slot, language);
        return;
    }
    for (const auto& [id, texts] : kControlTexts)
        SetDlgItemText(id, LanguageText(texts, language));
    ApplySelectorLanguage(language);
    for (std::size_t slot = 0; slot < 4; ++slot)
        ShowResult(slot, language);
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
