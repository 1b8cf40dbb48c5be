#pragma once

#include "FreePort.h"
#include "TempDir.h"
#include "TestLog.h"

#include "CComboBox.h"
#include "CDialogBase.h"
#include "CSearchPage.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <boost/asio/ip/udp.hpp>

namespace quill::discovery::test {

using namespace std::chrono_literals;
using Texts = std::vector<QString>;

// Clicks OK (or No) on every message box while it lives, keeping texts and captions.
struct MessageBoxCloser {
    MessageBoxCloser();
    Texts texts, captions;
    QTimer poll;
};

// The main window's stand-in, the pages' parent.
struct TestMainWindow : CDialogBase {
    TestMainWindow();
};

// The search page with its close requests counted.
struct RecordingSearchPage : CSearchPage {
    using CSearchPage::CSearchPage;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int closeRequests = 0;
};

// A UDP socket on an ephemeral port: sends datagrams, and collects what reaches
// it (the queries of a sweep) until atMost arrived or none came for `wait`.
struct UdpPeer {
    boost::asio::io_context io;
    boost::asio::ip::udp::socket socket { io, { boost::asio::ip::udp::v4(), 0 } };
    std::uint16_t port() const { return socket.local_endpoint().port(); }
    void send(const std::string& payload, std::uint16_t port, const std::string& address = "127.0.0.1");
    std::vector<std::string> collect(std::size_t atMost, std::chrono::milliseconds wait);
};

Texts RowTexts(CSearchPage& page, int row, int columns = 4); // the first columns
// The rows of an RFC 4180 text: quoted fields with doubled quotes, CRLF lines.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text, char separator = ',');
inline void ClickSearch(CSearchPage& page)
{
    QTest::mouseClick(page.GetDlgItemAs<QPushButton>(1007), Qt::LeftButton);
}

// What page tests share: a working directory of their own, the log, message
// boxes answered, a peer that collects queries, the main window.
struct PageTest {
    // A page as the main window makes it from the adapters' address parts.
    std::unique_ptr<RecordingSearchPage> MakePage(const std::vector<std::vector<std::string>>& adapters,
        SearchPageOptions options, std::optional<int> count = {});
    SearchPageOptions Loopback() const { return { .engine = { .ports = { listenPort, peer.port() } } }; }

    quill::test::TempDir dir;
    quill::test::ScopedWorkingDir cwd { dir.path() };
    quill::test::LogCapture log;
    MessageBoxCloser closer;
    UdpPeer peer;
    const std::uint16_t listenPort = quill::test::FreeUdpPort();
    TestMainWindow main;
};

} // namespace quill::discovery::test
