#include "CameraPage.h"

#include "MessageBox.h"
#include "TextConversion.h"

#include <QProcess>
#include <QStringList>

#include <boost/format.hpp>

#include <array>

namespace {

// The names Google Chrome and its open-source build go by on Linux
// distributions, looked up on PATH in this order.
constexpr std::array<const char*, 4> kChromePrograms {
    "google-chrome-stable",
    "google-chrome",
    "chromium",
    "chromium-browser",
};

// The desktop's default browser.
constexpr char kDefaultBrowserOpener[] = "xdg-open";

// Started directly with the URL as its one argument, never through a shell,
// so the camera's own text cannot become a command. True when it started.
bool StartBrowser(const char* program, const QString& url)
{
    return QProcess::startDetached(QString::fromLatin1(program), QStringList { url });
}

} // namespace

void OpenCameraPage(std::string ip)
{
    const QString url = quill::text::Utf8ToWide((boost::format("http://%s") % ip).str());
    for (const char* chrome : kChromePrograms) {
        if (StartBrowser(chrome, url))
            return;
    }
    AfxMessageBox(QStringLiteral("Chrome does not exist!"));
    StartBrowser(kDefaultBrowserOpener, url);
}
