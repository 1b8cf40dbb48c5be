#include "SearchPageTestSupport.h"

#include "MessageBox.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMessageBox>

#include <poll.h>

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
    closeRequests += message == WM_CLOSE ? 1 : 0;
    return CSearchPage::WindowProc(message, wParam, lParam);
}

UdpPeer::UdpPeer()
    : m_socket(m_io, udp::endpoint(udp::v4(), 0))
{
    m_socket.set_option(asio::socket_base::receive_buffer_size(4 * 1024 * 1024));
}

void UdpPeer::send(const std::string& payload, std::uint16_t port, const std::string& address)
{
    m_socket.send_to(asio::buffer(payload), udp::endpoint(asio::ip::make_address_v4(address), port));
}

std::vector<std::string> UdpPeer::collect(std::size_t atMost, std::chrono::milliseconds wait)
{
    std::vector<std::string> received;
    while (received.size() < atMost) {
        pollfd fd { m_socket.native_handle(), POLLIN, 0 };
        if (::poll(&fd, 1, static_cast<int>(wait.count())) <= 0)
            break;
        std::array<char, 128> buffer {};
        udp::endpoint sender;
        received.emplace_back(buffer.data(), m_socket.receive_from(asio::buffer(buffer), sender));
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
