#include "SearchPageTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include <poll.h>

namespace quill::discovery::test {

namespace asio = boost::asio;

MessageBoxCloser::MessageBoxCloser()
{
    QObject::connect(&poll, &QTimer::timeout, [this] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                texts.push_back(box->text());
                captions.push_back(box->windowTitle());
                // OK, or No where a box asks.
                (box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok) : box->button(QMessageBox::No))
                    ->click();
            }
        }
    });
    poll.start(5);
}

TestMainWindow::TestMainWindow()
    : CDialogBase(DialogTemplate { 140, QSize(319, 210), QStringLiteral("Tessory Tool"), {}, 8, {} })
{
    Create(nullptr);
}

LRESULT RecordingSearchPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    closeRequests += message == WM_CLOSE ? 1 : 0;
    return CSearchPage::WindowProc(message, wParam, lParam);
}

void UdpPeer::send(const std::string& payload, std::uint16_t port, const std::string& address)
{
    socket.send_to(asio::buffer(payload), { asio::ip::make_address_v4(address), port });
}

std::vector<std::string> UdpPeer::collect(std::size_t atMost, std::chrono::milliseconds wait)
{
    std::vector<std::string> received;
    for (pollfd fd { socket.native_handle(), POLLIN, 0 };
         received.size() < atMost && ::poll(&fd, 1, static_cast<int>(wait.count())) > 0;) {
        std::array<char, 128> buffer {};
        received.emplace_back(buffer.data(), socket.receive(asio::buffer(buffer)));
    }
    return received;
}

Texts RowTexts(CSearchPage& page, int row, int columns)
{
    Texts texts;
    for (int column = 0; column < columns; ++column)
        texts.push_back(page.ResultList().GetItemText(row, column));
    return texts;
}

std::vector<std::vector<std::string>> ReadCsv(const std::string& text, char separator)
{
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"')
            rows.back().back() += text[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == separator)
            rows.back().emplace_back();
        else if (!quoted && c == '\r' && i + 1 < text.size() && text[i + 1] == '\n' && ++i)
            rows.emplace_back(1);
        else
            rows.back().back() += c;
    }
    rows.pop_back(); // after the last line end
    return rows;
}

std::unique_ptr<RecordingSearchPage> PageTest::MakePage(const std::vector<std::vector<std::string>>& adapters,
    SearchPageOptions options, std::optional<int> count)
{
    auto page = std::make_unique<RecordingSearchPage>(std::move(options));
    page->m_adapterCount = count.value_or(static_cast<int>(adapters.size()));
    for (std::size_t i = 0; i < adapters.size(); ++i)
        page->m_adapterParts[i] = adapters[i];
    page->Create(&main);
    return page;
}

} // namespace quill::discovery::test
