#include "CSearchPage.h"

CSearchPage::CSearchPage(QWidget* parent)
    : CSearchPage(DiscoveryPorts {}, parent)
{
}

CSearchPage::CSearchPage(DiscoveryPorts ports, QWidget* parent)
    : CLanguagePage(DialogTemplate { IDD, QSize(316, 190), {}, QStringLiteral("MS Shell Dlg"), 8, {} }, parent)
    , m_ports(ports)
{
}

CSearchPage::~CSearchPage() = default;

void CSearchPage::ApplyPageLanguage(LanguageId) { }
