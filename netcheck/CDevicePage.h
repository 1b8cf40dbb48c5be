#pragma once

#include "CLanguagePage.h"
#include "DeviceProbes.h"
#include "ProbeResult.h"

#include <array>
#include <string>

class QLabel;
class QLineEdit;

// The network check page (tab 1 of the main window): the LAN settings of the
// adapter chosen on the search page, written in by the main window; the port
// checks against the product's server; the HTTPS check of a cloud host and the
// time server check; each verdict in a field of its own, in the page's
// language. The probes run on the UI thread inside the click handlers.
class CDevicePage : public CLanguagePage {
    Q_OBJECT

public:
    static constexpr int IDD = 2001;

    explicit CDevicePage(QWidget* parent = nullptr);
    explicit CDevicePage(DeviceProbes probes, QWidget* parent = nullptr);

    // Written by the main window, never by the page: 1024 IP address, 1025
    // subnet mask, 1026 gateway, 1027 DNS server.
    QLabel* m_ipText = nullptr;
    QLabel* m_maskText = nullptr;
    QLabel* m_gatewayText = nullptr;
    QLabel* m_dnsText = nullptr;
    QLineEdit* m_cloudHostEdit = nullptr;
    QLineEdit* m_ntpHostEdit = nullptr;

    void OnClickedCheck();
    void OnClickedCloudTest();
    void OnClickedNtpTest();

protected:
    void DoDataExchange() override;
    bool OnInitDialog() override;
    void ApplyPageLanguage(LanguageId language) override;

private:
    DeviceProbes m_probes;
};
