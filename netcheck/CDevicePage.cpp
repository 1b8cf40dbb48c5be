#include "CDevicePage.h"

#include "DevicePageTemplate.h"

CDevicePage::CDevicePage(QWidget* parent)
    : CDevicePage(DeviceProbes {}, parent)
{
}

CDevicePage::CDevicePage(DeviceProbes probes, QWidget* parent)
    : CLanguagePage(DevicePageTemplate(), false, parent)
    , m_probes(probes)
{
}

void CDevicePage::DoDataExchange()
{
    CLanguagePage::DoDataExchange();
}

bool CDevicePage::OnInitDialog()
{
    CLanguagePage::OnInitDialog();
    InitLanguageSelector();
    return true;
}

void CDevicePage::ApplyPageLanguage(LanguageId) { }

void CDevicePage::OnClickedCheck() { }
void CDevicePage::OnClickedCloudTest() { }
void CDevicePage::OnClickedNtpTest() { }
