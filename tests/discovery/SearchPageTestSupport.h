#pragma once

#include "FreePort.h"
#include "TestLog.h"

#include "CDialogBase.h"
#include "CSearchPage.h"

#include <QString>
#include <QTimer>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quill::discovery::test {

using quill::test::FreeUdpPort;
using quill::test::LogCapture;

// Turns the event loop until the condition holds or the time is up; returns
// the condition's last value.
bool WaitUntil(
    const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(5));
// Turns the event loop for a while (to show that something does not happen).
void SpinEvents(std::chrono::milliseconds duration);

// Clicks OK on every message box while it lives, keeping texts and captions.
class MessageBoxCloser {
public:
    MessageBoxCloser();
    std::vector<QString> texts;
    std::vector<QString> captions;

private:
    QTimer m_poll;
};

// The main window's side of a page: records the posted language numbers.
class TestMainWindow : public CDialogBase {
public:
    TestMainWindow();
    std::vector<LanguageId> announced;
};

// The search page with its close requests counted.
class RecordingSearchPage : public CSearchPage {
public:
    using CSearchPage::CSearchPage;
    int closeRequests = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A UDP socket on an ephemeral port of 0.0.0.0: sends datagrams, and collects
// what reaches its own port (the queries of a sweep).
class UdpPeer {
public:
    UdpPeer();
    std::uint16_t port() const { return m_socket.local_endpoint().port(); }
    void send(const std::string& payload, std::uint16_t port, const std::string& address = "127.0.0.1");
    std::vector<std::string> collect(std::size_t atMost, std::chrono::milliseconds wait);

private:
    boost::asio::io_context m_io;
    boost::asio::ip::udp::socket m_socket;
};

// The texts of a row of the result list, columns 0 to 3.
std::vector<QString> RowTexts(CSearchPage& page, int row);

} // namespace quill::discovery::test
