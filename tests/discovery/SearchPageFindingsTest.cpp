// Findings in the search page on loopback: marked rows that keep their marks
// through sorts and inserts, tooltips and the status line that say what is
// wrong, the question before opening a page that may not load, and camera
// text shown with its hidden characters made visible.
#include "SearchPageTestSupport.h"

#include "FindingMarks.h"
#include "WarningColour.h"

#include <QClipboard>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace quill::discovery::test;

struct SearchPageFindings : ::testing::Test, PageTest {
    void Make(SearchPageOptions options)
    {
        page = MakePage({ { "127", "0", "0", "1" } }, std::move(options));
        main.resize(page->size());
        ASSERT_TRUE(QTest::qWaitFor([&] { return page->IsListening(); }, 5000));
    }
    QRect Cell(int row, int column) { return list().visualRect(list().model()->index(row, column)); }
    QString ToolTip(int row, int column)
    {
        QHelpEvent help(QEvent::ToolTip, Cell(row, column).center(), QPoint());
        QApplication::sendEvent(list().viewport(), &help);
        return QToolTip::text();
    }
    ListCtrlEx::CListCtrlEx& list() { return page->ResultList(); }
    std::unique_ptr<RecordingSearchPage> page;
};

TEST_F(SearchPageFindings, ConflictRowsAreMarkedThroughSortsAndSayWhy)
{
    Make(Loopback());
    const std::string name = "Lobby camera above the east door \u202Ertl\t";
    page->AddDeviceRow({ "127.0.0.9", "sn\x01", "00:00:00:00:00:09", name, "fw" });
    for (const char* mac : { "00:00:00:00:00:01", "00:00:00:00:00:02" })
        peer.send(std::string("127.0.0.1 sn ") + mac + " cam fw", listenPort);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return page->StatusText() == "3 cameras answered; 2 cameras with problems"; }, 5000));
    list().OnColumnClick(1); // descending: the clean row first
    page->AddDeviceRow({ "127.0.0.5", "sn", "00:00:00:00:00:05", "cam", "fw" }); // lands second
    const QColor warm = searchpage::FindingBackground(list());
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(list().GetCellBkColor(row, 5) == warm, row >= 2) << row;
        EXPECT_EQ(list().GetCellInfo(row, 0).image == 0, row >= 2) << row;
    }
    // Drawn so: the background, and the warning image in the first cell.
    const QImage shown = list().viewport()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(Cell(3, 2).bottomRight() - QPoint(2, 2)), warm);
    int amber = 0;
    for (int x = Cell(3, 0).left(); x < Cell(3, 0).left() + Cell(3, 0).height(); ++x)
        amber += shown.pixelColor(x, Cell(3, 0).center().y() + 3) == WarningColour();
    EXPECT_GT(amber, 2);

    const QString conflict = "Address conflict: 127.0.0.1 is used by 2 cameras (MAC 00:00:00:00:00:01, "
                             "00:00:00:00:00:02); give each camera an address of its own.";
    EXPECT_EQ(ToolTip(2, 1), conflict + "\nAnswers since Search: 1");
    EXPECT_EQ(page->GetDlgItemAs<QLabel>(1010)->toolTip(), conflict);
    // Hidden characters show visibly, in the list, a cut cell's tooltip and a copy.
    const QString shownName = "Lobby camera above the east door <U+202E>rtl<U+0009>";
    EXPECT_EQ(RowTexts(*page, 0, 6),
        (Texts { "1", "127.0.0.9", "00:00:00:00:00:09", "fw", "sn<U+0001>", shownName }));
    EXPECT_EQ(ToolTip(0, 5), shownName + "\nAnswers since Search: 1");
    list().setCurrentIndex(list().model()->index(0, 0));
    QTest::keyClick(&list(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
        "1\t127.0.0.9\tsn<U+0001>\t00:00:00:00:00:09\t" + shownName + "\tfw\t\t\r\n");
}

TEST_F(SearchPageFindings, APageThatMayNotLoadOpensOnlyWhenTheUserSaysSo)
{
    const QByteArray path = qgetenv("PATH");
    const auto bin = dir.path() / "bin";
    std::filesystem::create_directories(bin);
    quill::test::WriteWholeFile(bin / "chromium", "#!/bin/sh\necho \"$@\" >> \"$0.ran\"\n");
    ::chmod((bin / "chromium").c_str(), 0755);
    qputenv("PATH", QByteArray::fromStdString(bin.string()));
    Texts questions;
    bool yes = false;
    Make({ .engine = Loopback().engine, .confirmOpen = [&](const QString& question) {
              questions.push_back(question);
              return yes;
          } });
    ClickSearch(*page); // judged against 127.0.0.0/24 from now on
    peer.send("127.0.0.2 sn 00:00:00:00:00:02 cam fw", listenPort); // answers from 127.0.0.1
    ASSERT_TRUE(QTest::qWaitFor([&] { return list().GetItemCount() == 1; }, 5000));
    page->AddDeviceRow({ "10.1.2.3", "sn", "00:00:00:00:00:03", "cam", "fw" }); // off the network
    page->AddDeviceRow({ "127.0.0.4", "sn", "00:00:00:00:00:04", "cam", "fw" });
    for (const auto& [row, answer] : { std::pair { 0, false }, { 1, true }, { 2, false } }) {
        yes = answer;
        QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, Cell(row, 1).center());
        QTest::qWait(50); // the double click arrives queued
    }
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return quill::test::ReadWholeFile(bin / "chromium.ran") == "http://10.1.2.3\nhttp://127.0.0.4\n";
        },
        5000));
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_TRUE(questions[0].startsWith("Camera 1 reports 127.0.0.2 but answered from 127.0.0.1"));
    EXPECT_TRUE(questions[1].startsWith("Camera 2 at 10.1.2.3 is outside this PC's network"));
    EXPECT_TRUE(questions[1].endsWith("\n\nIts web page may not load. Open it anyway?"));
    qputenv("PATH", path);
}

} // namespace
