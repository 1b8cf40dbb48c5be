#include "SearchPageTestSupport.h"

#include "Logger.h"
#include "MessageBox.h"
#include "TempDir.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMessageBox>

#include <gtest/gtest.h>

#include <poll.h>

#include <iostream>
#include <sstream>
#include <streambuf>

#if defined(__SANITIZE_THREAD__)
// ThreadSanitizer cannot see the ordering inside libraries built without it:
// Qt's event queue hands a posted call from the listener thread to the UI
// thread under Qt's own futex-based lock, and libstdc++'s ctype<char> fills
// its narrow() cache with the same bytes from any thread. Reports whose one
// side is such a post, or that cache, are not races of ours.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:invokeMethod\n"
           "race:QCoreApplication::postEvent\n"
           "race:std::ctype<char>::narrow\n";
}
#endif

namespace quill::discovery::test {

namespace asio = boost::asio;
using asio::ip::udp;

namespace {

    // The log is set up once, before the first test, in a folder of its own:
    // its files stay where the working directory was at set-up, and the tests
    // change that directory. At the end the log shuts down first, so its last
    // file is closed before the folder goes.
    class LogEnvironment : public ::testing::Environment {
    public:
        void SetUp() override
        {
            m_folder = std::make_unique<quill::test::TempDir>();
            const quill::test::ScopedWorkingDir inFolder(m_folder->path());
            Logger::instance();
        }
        void TearDown() override
        {
            Logger::shutdown();
            m_folder.reset();
        }

    private:
        std::unique_ptr<quill::test::TempDir> m_folder;
    };

    [[maybe_unused]] ::testing::Environment* const kLogEnvironment
        = ::testing::AddGlobalTestEnvironment(new LogEnvironment);

} // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > limit.count())
            return condition();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents();
    }
    return true;
}

void SpinEvents(std::chrono::milliseconds duration)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < duration.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

std::uint16_t FreeUdpPort()
{
    asio::io_context io;
    udp::socket probe(io, udp::endpoint(udp::v4(), 0));
    return probe.local_endpoint().port();
}

// std::clog's buffer while a capture lives; the log's sinks write through it
// from the listener thread while a test reads it.
class LogCapture::Buffer : public std::streambuf {
public:
    std::string text() const
    {
        std::lock_guard lock(m_mutex);
        return m_text;
    }

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        std::lock_guard lock(m_mutex);
        m_text.push_back(traits_type::to_char_type(c));
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        std::lock_guard lock(m_mutex);
        m_text.append(s, static_cast<std::size_t>(n));
        return n;
    }

private:
    mutable std::mutex m_mutex;
    std::string m_text;
};

LogCapture::LogCapture()
    : m_buffer(std::make_unique<Buffer>())
    , m_previous(std::clog.rdbuf(m_buffer.get()))
{
}

LogCapture::~LogCapture()
{
    std::clog.rdbuf(m_previous);
}

std::string LogCapture::text() const
{
    return m_buffer->text();
}

std::vector<std::string> LogCapture::linesWith(const std::string& part) const
{
    std::vector<std::string> lines;
    std::istringstream stream(text());
    for (std::string line; std::getline(stream, line);) {
        if (line.find(part) != std::string::npos)
            lines.push_back(line);
    }
    return lines;
}

MessageBoxCloser::MessageBoxCloser()
{
    m_poll.setInterval(5);
    QObject::connect(&m_poll, &QTimer::timeout, [this] {
        QMessageBox* box = FindOpenMessageBox();
        if (!box)
            return;
        texts.push_back(box->text());
        captions.push_back(box->windowTitle());
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
    });
    m_poll.start();
}

TestMainWindow::TestMainWindow()
    : CDialogBase(DialogTemplate { 140, QSize(319, 210), QStringLiteral("Tessory Tool"), {}, 8, {} })
{
    MapMessage(WM_LANGUAGE_CHANGED, [this](WPARAM language, LPARAM) {
        announced.push_back(static_cast<LanguageId>(language));
        return LRESULT(0);
    });
}

LRESULT RecordingSearchPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
        ++closeRequests;
    return CSearchPage::WindowProc(message, wParam, lParam);
}

DatagramSender::DatagramSender(std::uint16_t port, const std::string& address)
    : m_socket(m_io, udp::endpoint(udp::v4(), 0))
    , m_target(asio::ip::make_address_v4(address), port)
{
}

void DatagramSender::send(const std::string& payload)
{
    m_socket.send_to(asio::buffer(payload), m_target);
}

DatagramCollector::DatagramCollector()
    : m_socket(m_io, udp::endpoint(udp::v4(), 0))
{
    m_socket.set_option(asio::socket_base::receive_buffer_size(4 * 1024 * 1024));
}

std::uint16_t DatagramCollector::port() const
{
    return m_socket.local_endpoint().port();
}

std::vector<std::string> DatagramCollector::collect(std::size_t atMost, std::chrono::milliseconds wait)
{
    std::vector<std::string> received;
    while (received.size() < atMost) {
        pollfd fd { m_socket.native_handle(), POLLIN, 0 };
        if (::poll(&fd, 1, static_cast<int>(wait.count())) <= 0)
            break;
        std::array<char, 128> buffer {};
        udp::endpoint sender;
        const auto size = m_socket.receive_from(asio::buffer(buffer), sender);
        received.emplace_back(buffer.data(), size);
    }
    return received;
}

std::vector<QString> RowTexts(CSearchPage& page, int row)
{
    std::vector<QString> texts;
    for (int column = 0; column < 4; ++column)
        texts.push_back(page.ResultList().GetItemText(row, column));
    return texts;
}

} // namespace quill::discovery::test
