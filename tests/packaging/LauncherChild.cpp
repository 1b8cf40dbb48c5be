// Stands in for the program behind the menu launcher in the launcher test: the
// real main window, in whatever folder the launcher started it in, where the
// user picks a language and a camera answers on the given discovery port.
#include "CComboBox.h"
#include "CDevicePage.h"
#include "CLanguagePage.h"
#include "CSearchPage.h"
#include "CZeruruDlg.h"
#include "Logger.h"

#include <QApplication>
#include <QTest>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

#include <memory>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2; // usage: launcher_child DISCOVERY_PORT
    const auto port = static_cast<std::uint16_t>(std::stoi(argv[1]));
    int result = 1;
    {
        QApplication application(argc, argv);
        quill::app::MainWindowParts parts = quill::app::MainWindowParts::Product();
        parts.makeSearchPage = [port] {
            return std::make_unique<CSearchPage>(DiscoveryPorts { port, port });
        };
        CZeruruDlg window(std::move(parts));
        if (!window.Create(nullptr))
            return 1;
        window.ShowWindow(true);

        CComboBox* language = window.SearchPage()->GetDlgItemAs<CComboBox>(CLanguagePage::kLanguageComboId);
        language->SetCurSel(1);
        Q_EMIT language->activated(1);

        boost::asio::io_context io;
        boost::asio::ip::udp::socket camera(io, boost::asio::ip::udp::v4());
        const boost::asio::ip::udp::endpoint listener(boost::asio::ip::make_address_v4("127.0.0.1"), port);
        CSearchPage& search = *window.SearchPage();
        if (QTest::qWaitFor([&] { return search.IsListening(); }, 10000)) {
            camera.send_to(
                boost::asio::buffer(std::string("127.0.0.1 SN-LAUNCH 00-11-22-33-44-55 cam 1.0")), listener);
            result = QTest::qWaitFor([&] { return search.ResultList().GetItemCount() > 0; }, 10000) ? 0 : 1;
        }
    }
    Logger::shutdown();
    return result;
}
