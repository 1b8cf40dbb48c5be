#pragma once

#include "CLanguagePage.h"
#include "DiscoveryPorts.h"

#include <array>
#include <string>
#include <vector>

// The camera search tab page: the adapter list, the address range, the Search
// button, the result list and the discovery engine behind them.
class CSearchPage : public CLanguagePage {
    Q_OBJECT

public:
    static constexpr int IDD = 2000;

    // The program's page: answers and queries on the discovery port.
    explicit CSearchPage(QWidget* parent = nullptr);
    // A page on other ports (tests on loopback).
    CSearchPage(DiscoveryPorts ports, QWidget* parent = nullptr);
    // Stops the listener and waits for it, so that no answer reaches a page
    // that is going away.
    ~CSearchPage() override;

    // Handed over by the main window before Create().
    int m_adapterCount = 0;
    std::array<std::vector<std::string>, 8> m_adapterParts;
    // The adapter chosen in the adapter list; read by the main window.
    int m_selectedAdapter = 0;

protected:
    void ApplyPageLanguage(LanguageId language) override;

private:
    DiscoveryPorts m_ports;
};
