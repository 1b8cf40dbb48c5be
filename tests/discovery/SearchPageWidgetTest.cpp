// The search page's controls on the offscreen platform: the adapter list and
// the range rule, the texts, and opening a camera's web page through
// stand-in browsers on PATH.
#include "SearchPageTestSupport.h"

#include "CComboBox.h"
#include "CIPAddressCtrl.h"
#include "CameraPage.h"

#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QMenu>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace quill::discovery::test;
using quill::test::ReadWholeFile;
using Octets = CSearchPage::Ipv4Octets;

class SearchPageWidgets : public ::testing::Test, public PageTest {
protected:
    CComboBox& AdapterCombo() { return *page->GetDlgItemAs<CComboBox>(1002); }
    CIPAddressCtrl& Begin() { return *page->GetDlgItemAs<CIPAddressCtrl>(1000); }
    CIPAddressCtrl& End() { return *page->GetDlgItemAs<CIPAddressCtrl>(1001); }
    static void Type(CIPAddressCtrl& address, int field, const QString& text)
    {
        address.Field(field)->selectAll();
        QTest::keyClicks(address.Field(field), text);
    }
    std::unique_ptr<RecordingSearchPage> page;
};

TEST_F(SearchPageWidgets, RangeFollowsTheAdapterAndTheEndFollowsTheBeginsNetwork)
{
    // A count beyond the table and a slot with too few parts are not read past.
    page = MakePage({ { "10", "1" } }, Loopback(), 12);
    EXPECT_EQ(AdapterCombo().count(), 0);
    EXPECT_EQ(End().GetAddress(), (Octets { 192, 168, 1, 1 }));
    page = MakePage({ { "10", "0", "5", "77" }, { "192", "168", "40", "2" } }, Loopback());
    EXPECT_EQ(AdapterCombo().itemText(0), QStringLiteral("10.0.5.77"));
    EXPECT_EQ(Begin().GetAddress(), (Octets { 10, 0, 5, 0 }));
    Type(End(), 0, QStringLiteral("172")); // goes back to the begin's
    EXPECT_EQ(End().Field(0)->text(), QStringLiteral("10"));
    Type(Begin(), 0, QStringLiteral("172")); // carries the end along
    Begin().Field(2)->selectAll();
    QTest::keyClick(Begin().Field(2), Qt::Key_Backspace); // an empty field reads 0
    EXPECT_EQ(page->EndAddress(), (Octets { 172, 0, 0, 255 }));
    // A begin above the end searches nothing.
    Type(Begin(), 3, QStringLiteral("200"));
    Type(End(), 3, QStringLiteral("100"));
    ClickSearch(*page);
    EXPECT_TRUE(peer.collect(1, 100ms).empty());
    // Another adapter replaces both addresses, the typed last octets too.
    AdapterCombo().setCurrentIndex(1);
    Q_EMIT AdapterCombo().activated(1);
    EXPECT_EQ(End().GetAddress(), (Octets { 192, 168, 40, 255 }));
    page->SetRange({ 127, 0, 0, 7 }, { 10, 20, 30, 9 });
    ClickSearch(*page);
    EXPECT_EQ(peer.collect(5, 300ms), (std::vector<std::string> { "update", "update", "update" }));
    // The page's own texts follow the language (storing and announcing it is
    // the language page's).
    page->ApplyLanguage(1);
    Texts texts;
    for (const int id : { 1004, 1005, 1006, 1007 })
        texts.push_back(page->GetDlgItemText(id));
    EXPECT_EQ(texts, (Texts { "網路卡列表:", "起始地址:", "結束地址:", "搜尋" }));
}

TEST_F(SearchPageWidgets, CameraPageOpensInTheFirstChromeThatStartsElseTheDefaultBrowser)
{
    // Stand-ins on PATH record their arguments; only they can be found.
    const QByteArray path = qgetenv("PATH");
    const auto bin = dir.path() / "bin";
    qputenv("PATH", QByteArray::fromStdString(bin.string()));
    const auto ran = [&](const std::string& program, const std::string& text) {
        return QTest::qWaitFor([&] { return ReadWholeFile(bin / (program + ".ran")) == text; }, 5000);
    };
    const std::pair<Texts, std::string> cases[] {
        { { "google-chrome-stable", "google-chrome", "chromium", "xdg-open" }, "google-chrome-stable" },
        { { "-google-chrome", "chromium-browser", "xdg-open" }, "chromium-browser" }, // "-": cannot start
        { { "xdg-open" }, "xdg-open" },
        { {}, "" },
    };
    for (const auto& [present, expected] : cases) {
        std::filesystem::remove_all(bin);
        std::filesystem::create_directories(bin);
        closer.texts.clear();
        for (const QString& program : present) {
            const auto file = bin / program.mid(program.startsWith('-') ? 1 : 0).toStdString();
            quill::test::WriteWholeFile(file, "#!/bin/sh\necho $# \"$@\" >> \"$0.ran\"\n");
            ::chmod(file.c_str(), program.startsWith('-') ? 0644 : 0755);
        }
        // The camera's text is handed on unchanged and never reaches a shell.
        OpenCameraPage("cam one;touch pwned $(id) %s");
        EXPECT_TRUE(expected.empty() || ran(expected, "1 http://cam one;touch pwned $(id) %s\n")) << expected;
        EXPECT_EQ(closer.texts.size(), expected.find("chrom") == std::string::npos ? 1u : 0u) << expected;
    }
    EXPECT_EQ(closer.texts, Texts { "Chrome does not exist!" });

    // A double click on a row opens its address (column 1); beside the rows, nothing.
    quill::test::WriteWholeFile(bin / "chromium", "#!/bin/sh\necho \"$@\" >> \"$0.ran\"\n");
    ::chmod((bin / "chromium").c_str(), 0755);
    page = MakePage({}, Loopback());
    main.resize(page->size());
    page->AddDeviceRow({ "192.168.1.20", "sn", "00-11-22-33-44-55", "name", "1.0" });
    page->AddDeviceRow({ "192.168.1.21", "sn", "00-11-22-33-44-56", "name", "1.0" });
    auto& list = page->ResultList();
    const QRect lastRow = list.visualRect(list.model()->index(1, 3));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, lastRow.bottomLeft() + QPoint(5, 30));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, lastRow.center());
    EXPECT_TRUE(ran("chromium", "http://192.168.1.21\n"));
    list.setCurrentIndex(list.model()->index(0, 0)); // Enter opens the row too
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_TRUE(ran("chromium", "http://192.168.1.21\nhttp://192.168.1.20\n"));
    qputenv("PATH", path);
}

TEST_F(SearchPageWidgets, HeaderSortsEachColumnInItsOwnOrderAndNewRowsLandWhereItPutsThem)
{
    page = MakePage({}, Loopback());
    main.resize(page->size());
    for (const auto& [ip, mac, fw] : { std::tuple { "198.18.0.10", "00:11:22:33:44:0b", "1.10" },
             { "198.18.0.9", "00-11-22-33-44-0A", "1.9" }, { "198.18.0.100", "001122334409", "1.9.1" } })
        page->AddDeviceRow({ ip, "sn", mac, "name", fw });
    auto& list = page->ResultList();
    const auto click = [&](int column) { list.OnColumnClick(column); }; // what a header click calls
    const auto column = [&](int c) {
        Texts texts;
        for (int row = 0; row < list.GetItemCount(); ++row)
            texts.push_back(list.GetItemText(row, c));
        return texts;
    };
    click(1); // the first click sorts descending, the next ascending
    EXPECT_EQ(column(1), (Texts { "198.18.0.100", "198.18.0.10", "198.18.0.9" }));
    click(1);
    EXPECT_EQ(column(1), (Texts { "198.18.0.9", "198.18.0.10", "198.18.0.100" }));
    page->AddDeviceRow({ "198.18.0.50", "sn", "m", "name", "2" });
    EXPECT_EQ(RowTexts(*page, 2), (Texts { "4", "198.18.0.50", "m", "2" }));
    click(3);
    click(3);
    EXPECT_EQ(column(3), (Texts { "1.9", "1.9.1", "1.10", "2" }));
    click(2);
    click(2);
    EXPECT_EQ(column(2), (Texts { "001122334409", "00-11-22-33-44-0A", "00:11:22:33:44:0b", "m" }));
    click(0);
    EXPECT_EQ(column(0), (Texts { "4", "3", "2", "1" }));
    // Ctrl+C copies the selected row with all five fields and its number.
    list.setCurrentIndex(list.model()->index(0, 0));
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("4\t198.18.0.50\tsn\tm\tname\t2\t\t\r\n"));
}

TEST_F(SearchPageWidgets, ExportOffersADatedNameInTheLastFolderAddsCsvAndNamesThePathOfAFailure)
{
    std::vector<QString> offered;
    QString answer;
    SearchPageOptions options = Loopback();
    options.chooseExportFile = [&](const QString& suggested) { return offered.push_back(suggested), answer; };
    page = MakePage({}, options);
    page->AddDeviceRow({ "192.168.1.20", "sn", "m", "name", "1.0" });
    auto& list = page->ResultList();
    const auto exportAs = [&](const QString& path) {
        answer = path;
        list.setCurrentIndex(list.model()->index(0, 0));
        QTest::keyClick(&list, Qt::Key_F10, Qt::ShiftModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        for (QAction* action : menu->actions())
            if (action->text() == QStringLiteral("Export CSV…"))
                action->trigger();
        menu->close();
    };
    const QString name = "cameras-" + QDate::currentDate().toString(Qt::ISODate) + ".csv";
    const QString folder = QString::fromStdString(dir.path().string());
    exportAs(folder + "/cams");
    exportAs(folder + "/upper.CSV");
    exportAs(folder + "/missing/out.csv");
    EXPECT_EQ(offered,
        (std::vector<QString> { QDir::home().filePath(name), folder + "/" + name, folder + "/" + name }));
    EXPECT_TRUE(QFile::exists(folder + "/cams.csv") && QFile::exists(folder + "/upper.CSV"));
    EXPECT_EQ(closer.texts,
        Texts { "The file " + folder + "/missing/out.csv could not be written: No such file or directory" });
}

} // namespace
