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
#include <QElapsedTimer>
#include <QTest>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: launcher_child DISCOVERY_PORT" << std::endl;
        return 2;
    }
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
        const std::string answer = "127.0.0.1 SN-LAUNCH 00-11-22-33-44-55 cam 1.0.0";
        const boost::asio::ip::udp::endpoint listener(boost::asio::ip::make_address_v4("127.0.0.1"), port);
        // Sent again until it is heard: the listener binds its port on a thread of its own.
        QElapsedTimer sinceSent;
        const auto heard = [&] {
            if (!sinceSent.isValid() || sinceSent.elapsed() > 200) {
                camera.send_to(boost::asio::buffer(answer), listener);
                sinceSent.start();
            }
            return window.SearchPage()->ResultList().GetItemCount() > 0;
        };
        if (QTest::qWaitFor(heard, 10000))
            result = 0;
        else
            std::cerr << "the listener did not take the answer" << std::endl;
    }
    Logger::shutdown();
    return result;
}
