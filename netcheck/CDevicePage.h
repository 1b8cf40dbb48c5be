#pragma once

#include "CLanguagePage.h"
#include "CheckPlan.h"
#include "CheckRunner.h"
#include "DeviceProbes.h"
#include "ProbeResult.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>

class QLabel;
class QLineEdit;

// The network check page (tab 1 of the main window): the LAN settings of the
// adapter chosen on the search page, written in by the main window; the port
// checks against the product's server; the HTTPS check of a cloud host and the
// time server check; each verdict in a field of its own, in the page's
// language, with its reason and time as the field's tooltip; a pass with a
// warning reads " OK" in the warning colour, the warning first in its tooltip. The probes run on
// the check runner's threads; a field shows "…" while its probe runs, and a
// button stays disabled while its own run is in flight.
class CDevicePage : public CLanguagePage {
    Q_OBJECT

public:
    static constexpr int IDD = 2001;

    // The result slots, in row order.
    static constexpr std::size_t kResultCount = 8;
    static constexpr std::size_t kNtpSlot = 4; // "Port 123 :"
    static constexpr std::size_t kCloudSlot = 5; // "Port 5672 :"
    static constexpr std::size_t kUnusedCloudSlot = 6; // "Port 5673 :", hidden, never set
    static constexpr std::size_t kCloudTlsSlot = 7; // "Port 443 :"

    // A cloud host needs more than this many bytes before it is probed.
    static constexpr std::size_t kShortestUntestedCloudHost = 6;

    // The product's probes, with "Config.ini" of the working directory.
    explicit CDevicePage(QWidget* parent = nullptr);
    // Probes at other ports or with other time-outs.
    explicit CDevicePage(DeviceProbes probes, QWidget* parent = nullptr);

    // Written by the main window, never by the page: 1024 IP address, 1025
    // subnet mask, 1026 gateway, 1027 DNS server.
    QLabel* m_ipText = nullptr;
    QLabel* m_maskText = nullptr;
    QLabel* m_gatewayText = nullptr;
    QLabel* m_dnsText = nullptr;
    QLineEdit* m_cloudHostEdit = nullptr;
    QLineEdit* m_ntpHostEdit = nullptr;

    ProbeResult Result(std::size_t slot) const { return slot < kResultCount ? m_results[slot] : kNotTested; }

    // The checks the page would run now: its probes, the server of its
    // settings file and the hosts in its fields.
    quill::netcheck::CheckPlan CurrentPlan() const;
    const DeviceProbes& Probes() const { return m_probes; }

    void OnClickedCheck();
    void OnClickedCloudTest();
    void OnClickedNtpTest();

protected:
    void DoDataExchange() override;
    bool OnInitDialog() override;
    // A language change or a showing of the page re-renders every text.
    void ApplyPageLanguage(LanguageId language) override;

    // Cloud false: starts the four port checks against the server named in
    // the settings file (host is not used). Cloud true: starts the two HTTPS
    // checks of host, when it is long enough. Then the rows of that part are
    // redisplayed.
    void RunChecks(std::string host, bool cloud);
    // cloudPart false: labels, buttons, selector and the four port rows;
    // cloudPart true: the rows "Port 123 :", "Port 5672 :" and "Port 443 :".
    // A value that is no language changes nothing.
    void ApplyLanguage(LanguageId language, bool cloudPart);

private:
    // The text of an edit field as UTF-8 host text, without surrounding blanks.
    std::string HostText(int editId) const;
    void OnProbeEnded(int slot, const quill::netcheck::ProbeOutcome& outcome);
    // Writes one slot's text, tooltip and colour in the language.
    void ShowResult(std::size_t slot, LanguageId language);
    void Started(std::size_t slot);
    void UpdateButtons();

    std::array<ProbeResult, kResultCount> m_results {};
    std::array<quill::netcheck::ProbeOutcome, kResultCount> m_outcomes {};
    std::array<bool, kResultCount> m_running {};
    DeviceProbes m_probes;
    // Last, so it goes first: it stops its probes before anything they report to.
    std::unique_ptr<quill::netcheck::CheckRunner> m_runner;
};
