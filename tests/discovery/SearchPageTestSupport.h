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
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quill::discovery::test {

// Turns the event loop until the condition holds or the time is up; returns
// the condition's last value.
bool WaitUntil(
    const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(5));
// Turns the event loop for a while (to show that something does not happen).
void SpinEvents(std::chrono::milliseconds duration);

using quill::test::FreeUdpPort;
using quill::test::LogCapture;

// Clicks OK on every message box of the application while it lives, and
// keeps their texts and captions.
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

// Sends datagrams from an ephemeral port to 127.0.0.1.
class DatagramSender {
public:
    explicit DatagramSender(std::uint16_t port, const std::string& address = "127.0.0.1");
    void send(const std::string& payload);

private:
    boost::asio::io_context m_io;
    boost::asio::ip::udp::socket m_socket;
    boost::asio::ip::udp::endpoint m_target;
};

// Collects datagrams on 0.0.0.0 at a port of its own (queries of a sweep).
class DatagramCollector {
public:
    DatagramCollector();
    std::uint16_t port() const;
    std::vector<std::string> collect(std::size_t atMost, std::chrono::milliseconds wait);

private:
    boost::asio::io_context m_io;
    boost::asio::ip::udp::socket m_socket;
};

// The texts of a row of the result list, columns 0 to 3.
std::vector<QString> RowTexts(CSearchPage& page, int row);

} // namespace quill::discovery::test
