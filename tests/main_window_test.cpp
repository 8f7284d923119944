// The main window on the simulated bus: settings file at start and shutdown, connection state,
// UpdateActions, keyboard and mouse of the list, status colours, the language switch and the
// report's questions.
#include "RecordedMessages.h"
#include "ScanHarness.h"
#include "WhenShown.h"
#include "buslink/SettingsFile.h"
#include "mainwindow/Main.h"
#include "sim/BusSetup.h"
#include "sim/MemoryBusPorts.h"
#include "sim/SimulatedBus.h"
#include "texts/Sprachen.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// A controller, or the group control unit at address 0.
TFensterInfo device(int address, int status = 3)
{
    TFensterInfo info;
    info.address = address;
    info.kind = address == 0 ? DeviceKind::GroupUnit : DeviceKind::Controller;
    info.status = status;
    info.windowKind = 1;
    info.articleNumber = QStringLiteral("480101");
    return info;
}

// A main window in a working directory of its own, without its start-up scan.
struct MainWindowTest : ::testing::Test {
    explicit MainWindowTest(const BusSetup& setup = {}) : bus(setup) {}

    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    VirtualClock clock;
    SimulatedBus bus;
    MemoryBusPorts memoryPorts{clock, bus, {1, 3}};
    TracingPorts ports{memoryPorts, clock};
    RecordedMessages messages;
    std::unique_ptr<TfmMain> window;

    void SetUp() override
    {
        QDir::setCurrent(dir.path());
        SetCurrentLanguage(German);
    }
    void TearDown() override
    {
        window.reset();
        QDir::setCurrent(previousDir);
        SetCurrentLanguage(German);
    }
    void writeSettings(const char* text)
    {
        QFile f(dir.filePath(QStringLiteral("Fenestrix.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    void open()
    {
        window = std::make_unique<TfmMain>(clock, ports, messages);
        window->findChild<QTimer*>(QStringLiteral("Einschaltverzoegerung"))->stop();
        window->show();
    }
    QAction* action(const char* name)
    {
        return window->findChild<QAction*>(QString::fromLatin1(name));
    }
    QPushButton* button(const char* name)
    {
        return window->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QTableView* list() { return window->findChild<QTableView*>(QStringLiteral("sgFenster")); }
    QByteArray settingsOnDisk()
    {
        QFile f(dir.filePath(QStringLiteral("Fenestrix.ini")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(MainWindowTest, WithoutSettingsFileStartsInGermanOnCom1AndWritesItAtShutdown)
{
    open();
    EXPECT_EQ(CurrentLanguage(), German);
    EXPECT_EQ(window->connectionStatus(), QStringLiteral("Online, COM1, 19200 Baud"));
    // Shown at once: the line's 100 ms of quiet after the open are the first telegram's to wait.
    EXPECT_LT(clock.nowUs(), 100'000u);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Veltra Fenestrix"));
    EXPECT_EQ(window->width(), 700);
    window->close();
    EXPECT_EQ(settingsOnDisk(), QByteArray("COM1\n19200\nSprache0\n"));
}

TEST_F(MainWindowTest, SettingsFileChoosesPortBaudAndLanguage)
{
    writeSettings("COM3\r\n9600\r\nSprache1\r\n");
    open();
    EXPECT_EQ(CurrentLanguage(), English);
    EXPECT_EQ(window->connectionStatus(), QStringLiteral("Online, COM3, 9600 Baud"));
    EXPECT_EQ(action("acBusScan")->text(), LanguageText(89));
    window->close();
    EXPECT_EQ(settingsOnDisk(), QByteArray("COM3\n9600\nSprache1\n"));
}

TEST_F(MainWindowTest, PortZeroBecomesCom1AndAMissingPortIsOffline)
{
    writeSettings("COM0\n19200\nSprache0\n");
    open();
    EXPECT_EQ(window->connection().comPort, 1);
    window->close();
    writeSettings("COM2\n19200\nSprache0\n");
    open();
    EXPECT_EQ(window->connectionStatus(), QStringLiteral("Offline"));
    EXPECT_FALSE(window->bus().IsConnected());
}

TEST_F(MainWindowTest, GroupButtonsNeedTwoRowsAndAConnection)
{
    open();
    struct Case {
        QList<int> addresses;
        bool enabled;
    };
    for (const Case& c : {Case{{0, 1}, true}, Case{{0}, false}, Case{{1}, false},
                          Case{{1, 2}, true}, Case{{}, false}}) {
        window->windowList().clear();
        for (int a : c.addresses)
            window->windowList().AddWindowRow(device(a));
        window->UpdateActions();
        for (const char* name : {"bnGrAuf", "bnGrZu", "bnGr50"})
            EXPECT_EQ(button(name)->isEnabled(), c.enabled)
                << name << " rows " << c.addresses.size();
    }
    window->DisconnectBus(false);
    EXPECT_FALSE(button("bnGrAuf")->isEnabled());
    EXPECT_EQ(window->connectionStatus(), QStringLiteral("Offline"));
}

TEST_F(MainWindowTest, SelectedRowDecidesTheDeviceCommands)
{
    open();
    window->windowList().AddWindowRow(device(0, 1));
    window->windowList().AddWindowRow(device(63));
    QSignalSpy opened(window.get(), &TfmMain::deviceWindowRequested);

    window->selectRow(0); // group control unit
    EXPECT_TRUE(action("acFenster")->isEnabled());
    EXPECT_FALSE(action("acAdresse")->isEnabled());
    action("acFenster")->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.takeFirst().at(0).toInt(), 0);

    window->selectRow(1); // "3Fh"
    EXPECT_TRUE(action("acAdresse")->isEnabled());
    QTest::keyClick(list(), Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.takeFirst().at(0).toInt(), 63);
    EXPECT_EQ(window->bus().GetWindowAddress(), 63);

    window->selectRow(2); // the empty row
    EXPECT_FALSE(action("acFenster")->isEnabled());
    action("acFenster")->trigger();
    EXPECT_TRUE(opened.isEmpty());

    window->selectRow(1);
    window->DisconnectBus(false);
    EXPECT_FALSE(action("acFenster")->isEnabled());
    EXPECT_FALSE(action("acAdresse")->isEnabled());
}

TEST_F(MainWindowTest, DoubleClickOpensAndTopHungArticleIsNoted)
{
    open();
    TFensterInfo topHung = device(4);
    topHung.articleNumber = QStringLiteral("480202");
    window->windowList().AddWindowRow(topHung);
    QSignalSpy opened(window.get(), &TfmMain::deviceWindowRequested);
    const QRect cell = list()->visualRect(window->windowList().index(0, 0));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first().at(0).toInt(), 4);
    EXPECT_TRUE(window->topHungArticle());
}

TEST_F(MainWindowTest, ListPopUpMenuOffersAddressAndProperties)
{
    open();
    window->windowList().AddWindowRow(device(1));
    window->selectRow(0);
    const QPoint at = list()->visualRect(window->windowList().index(0, 0)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list()->viewport(), &event);
    auto* menu = window->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    QStringList entries;
    for (QAction* a : menu->actions())
        entries << a->text();
    EXPECT_EQ(entries,
              (QStringList{QStringLiteral("Adresse ändern"), QStringLiteral("Eigenschaften")}));
    menu->close();
}

TEST_F(MainWindowTest, ServiceKeysRevealEmergencyAddressingForGood)
{
    open();
    EXPECT_FALSE(action("acNotAdr")->isVisible());
    QTest::keyClick(list(), Qt::Key_N);
    EXPECT_FALSE(action("acNotAdr")->isVisible());
    QTest::keyClick(list(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(action("acNotAdr")->isVisible());
    EXPECT_TRUE(action("tbTrenner2")->isVisible());
}

TEST_F(MainWindowTest, NormalRowIsGreenAlsoWhenSelected)
{
    open();
    window->windowList().AddWindowRow(device(1, 3));
    window->selectRow(0);
    const QRect cell = list()->visualRect(window->windowList().index(0, 7));
    const QImage image = list()->viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(cell.left() + 2, cell.top() + 2), QColor(0, 0x80, 0));
}

TEST_F(MainWindowTest, OtherStatusOfTheSelectedRowIsWrittenInTheWindowTextColour)
{
    open();
    window->windowList().AddWindowRow(device(1, 13)); // " unbekannt "
    window->selectRow(0);
    const QRect cell =
        list()->visualRect(window->windowList().index(0, 7)) & list()->viewport()->rect();
    const QImage image = list()->viewport()->grab().toImage();
    const QPalette palette = list()->palette();
    // Dark text (the window text colour) on the highlight, no light (highlighted text) pixels.
    ASSERT_LT(palette.color(QPalette::WindowText).lightness(), 60);
    ASSERT_GT(palette.color(QPalette::HighlightedText).lightness(), 200);
    int dark = 0, light = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const int lightness = image.pixelColor(x, y).lightness();
            dark += lightness < 60 ? 1 : 0;
            light += lightness > 200 ? 1 : 0;
        }
    }
    EXPECT_EQ(image.pixelColor(cell.right() - 1, cell.top() + 1),
              palette.color(QPalette::Highlight));
    EXPECT_GT(dark, 20);
    EXPECT_EQ(light, 0);
}

TEST_F(MainWindowTest, LanguageSwitchRenamesEverythingAndResizes)
{
    open();
    SetCurrentLanguage(French);
    window->sprache_aendern();
    window->adapt_windows();
    EXPECT_EQ(window->width(), 900);
    EXPECT_EQ(button("bnGrAuf")->text(), LanguageTable::builtIn().text(French, 109));
    EXPECT_EQ(window->windowList().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral(" ") + LanguageTable::builtIn().text(French, 240));
    TStrgItem item;
    window->bus().GetParameterInfo(4, item);
    EXPECT_EQ(item.name, LanguageTable::builtIn().text(French, 74) + QStringLiteral("-Array"));
    SetCurrentLanguage(Spanish);
    window->adapt_windows();
    EXPECT_EQ(button("bnGrZu")->width(), 116);
    SetCurrentLanguage(Dutch);
    window->adapt_windows();
    EXPECT_EQ(window->width(), 720);
}

TEST_F(MainWindowTest, ReaddressingModeSwitchesTheControls)
{
    open();
    window->windowList().AddWindowRow(device(0, 1));
    window->windowList().AddWindowRow(device(1));
    window->windowList().AddWindowRow(device(2));
    window->selectRow(1);
    QPushButton* apply = button("bnNeuAdr");
    ASSERT_TRUE(apply->isVisible());
    EXPECT_FALSE(button("bnNeuAdrAbbr")->isVisible());
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_TRUE(window->readdressing());
    EXPECT_EQ(apply->text(), QStringLiteral("Übernehmen"));
    EXPECT_TRUE(button("bnNeuAdrAbbr")->isVisible());
    EXPECT_FALSE(action("acFenster")->isEnabled());
    EXPECT_TRUE(action("acAdresse")->isEnabled());
    EXPECT_FALSE(action("acBusScan")->isEnabled());
    EXPECT_FALSE(button("bnGrAuf")->isEnabled());
    window->selectRow(0);
    EXPECT_FALSE(action("acAdresse")->isEnabled()); // never the group control unit

    QTest::mouseClick(button("bnNeuAdrAbbr"), Qt::LeftButton);
    EXPECT_FALSE(window->readdressing());
    EXPECT_EQ(apply->text(), QStringLiteral("Umadressierung"));
    EXPECT_FALSE(button("bnNeuAdrAbbr")->isVisible());
    EXPECT_TRUE(action("acBusScan")->isEnabled());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(MainWindowTest, PollingTimerPollsEveryTickAndKeepsAliveEveryThird)
{
    open();
    auto* timer = window->findChild<QTimer*>(QStringLiteral("Timer"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 200);
    window->bus().StartPolling();
    ports.requests.clear();
    QTest::qWait(1300);
    int polls = 0, keepAlives = 0;
    for (const TracedRequest& r : ports.requests) {
        // A silent bus: every telegram goes out twice (one retry) for keep-alives, once for polls.
        if (r.mode() == 0x4F)
            ++keepAlives;
        else
            ++polls;
    }
    EXPECT_GE(polls, 3);
    EXPECT_EQ(keepAlives, 2 * (polls / 3));
    window->DisconnectBus(false);
    EXPECT_FALSE(timer->isActive());
}

// Runs `act` on the dialog `name` of `window` as soon as it is shown.
void whenShown(QWidget& window, const char* name, std::function<void(QDialog&)> act)
{
    whenShown<QDialog>(
        window, [&window, name] { return window.findChild<QDialog*>(QString::fromLatin1(name)); },
        std::move(act));
}

// The state of every command that uses the bus or changes the list.
QMap<QString, bool> busCommands(TfmMain& window)
{
    QMap<QString, bool> enabled;
    for (const char* name :
         {"acBusScan", "acAdresse", "acFenster", "acWinListe", "acNotAdr", "acComPort"})
        enabled[QString::fromLatin1(name)] =
            window.findChild<QAction*>(QString::fromLatin1(name))->isEnabled();
    for (const char* name : {"bnGrAuf", "bnGrZu", "bnGr50", "bnNeuAdr"})
        enabled[QString::fromLatin1(name)] =
            window.findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled();
    return enabled;
}

TEST_F(MainWindowTest, BusCommandsWaitWhileAScanOrAGroupDriveRuns)
{
    open();
    window->windowList().AddWindowRow(device(1));
    window->windowList().AddWindowRow(device(2));
    window->selectRow(0);
    const QMap<QString, bool> before = busCommands(*window);
    ASSERT_TRUE(before.value(QStringLiteral("bnNeuAdr")));
    ASSERT_TRUE(before.value(QStringLiteral("acAdresse")));

    // While the scan's start dialog is up, and again while the group drive dialog is up.
    QList<QMap<QString, bool>> during;
    const auto inspectAndClose = [&](const char* dialogName) {
        whenShown(*window, dialogName, [&](QDialog& dialog) {
            during << busCommands(*window);
            dialog.reject();
        });
    };
    inspectAndClose("fmScan");
    window->acBusScanExecute();
    inspectAndClose("fmGruppeFahren");
    window->bnGrAufClick();
    ASSERT_EQ(during.size(), 2);
    for (const QMap<QString, bool>& state : during) {
        for (auto it = state.begin(); it != state.end(); ++it)
            EXPECT_FALSE(it.value()) << it.key().toStdString();
    }
    // A cancelled scan leaves the list as it was; afterwards UpdateActions decides again.
    EXPECT_EQ(busCommands(*window), before);
}

BusSetup twoControllers()
{
    BusSetup setup;
    setup.controllers << DefaultControllerSetup(ControllerKind::TurnTilt, 1, 1)
                      << DefaultControllerSetup(ControllerKind::TurnTilt, 2, 2);
    return setup;
}

struct MainWindowOnTwoControllers : MainWindowTest {
    MainWindowOnTwoControllers() : MainWindowTest(twoControllers()) {}
};

TEST_F(MainWindowOnTwoControllers, ScanMakesTheFirstDeviceCurrent)
{
    open();
    whenShown(*window, "fmScan", [](QDialog& dialog) { dialog.accept(); });
    window->acBusScanExecute();
    ASSERT_EQ(window->windowList().deviceCount(), 2);
    EXPECT_EQ(window->selectedRow(), 0);
    EXPECT_TRUE(action("acFenster")->isEnabled());
    EXPECT_EQ(window->scanStatus(), QStringLiteral("2 Fenster"));
    // The summary follows a language switch at once.
    SetCurrentLanguage(English);
    window->sprache_aendern();
    EXPECT_EQ(window->scanStatus(), QStringLiteral("2 ") + LanguageText(445));
    EXPECT_EQ(window->windowList().data(window->windowList().index(0, 7), Qt::DisplayRole),
              QStringLiteral(" ") + LanguageText(154) + QStringLiteral(" "));
}

TEST_F(MainWindowOnTwoControllers, ReportAsksSiteAndTechnicianAndKeepsThemForTheNextRun)
{
    open();
    whenShown(*window, "fmScan", [](QDialog& dialog) { dialog.accept(); });
    window->acBusScanExecute();
    ASSERT_TRUE(window->findChild<QMenu*>(QStringLiteral("Datei1"))
                    ->actions()
                    .contains(action("acBericht")));
    ASSERT_EQ(window->findChild<QToolButton*>(QStringLiteral("tbBericht"))->defaultAction(),
              action("acBericht"));
    const QString path = dir.filePath(QStringLiteral("bericht.pdf"));
    whenShown(*window, "fmBericht", [&](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("edStandort"))
            ->setText(QStringLiteral("Schule am Park"));
        dialog.findChild<QLineEdit*>(QStringLiteral("edTechniker"))
            ->setText(QStringLiteral("A. Berg"));
        whenShown<QFileDialog>(
            *window, [&] { return window->findChild<QFileDialog*>(); },
            [&](QFileDialog& files) {
                files.selectFile(path);
                static_cast<QDialog&>(files).accept();
            });
        dialog.accept();
    });
    action("acBericht")->trigger();
    EXPECT_TRUE(QFile::exists(path));
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_TRUE(messages.shown.last().startsWith(QStringLiteral("notice: Bericht: ")))
        << messages.shown.last().toStdString();

    // The next run offers the same answers.
    window.reset();
    open();
    QStringList offered;
    whenShown(*window, "fmBericht", [&](QDialog& dialog) {
        for (const char* edit : {"edStandort", "edTechniker"})
            offered << dialog.findChild<QLineEdit*>(QString::fromLatin1(edit))->text();
        dialog.reject();
    });
    window->acBerichtExecute();
    EXPECT_EQ(offered, (QStringList{QStringLiteral("Schule am Park"), QStringLiteral("A. Berg")}));
}

TEST_F(MainWindowTest, DoubleClickAndEnterOpenNothingWhilePropertiesIsDisabled)
{
    open();
    window->windowList().AddWindowRow(device(1));
    window->selectRow(0);
    QSignalSpy opened(window.get(), &TfmMain::deviceWindowRequested);
    window->DisconnectBus(false);
    ASSERT_FALSE(action("acFenster")->isEnabled());
    const QRect cell = list()->visualRect(window->windowList().index(0, 0));
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_TRUE(opened.isEmpty());

    window->ConnectBus();
    QTest::mouseClick(button("bnNeuAdr"), Qt::LeftButton); // readdressing
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(MainWindowTest, AbortedReaddressingRestoresWhatUpdateActionsDecides)
{
    open();
    window->windowList().AddWindowRow(device(1)); // one device: no group drive
    window->selectRow(0);
    const QMap<QString, bool> before = busCommands(*window);
    QTest::mouseClick(button("bnNeuAdr"), Qt::LeftButton);
    QTest::mouseClick(button("bnNeuAdrAbbr"), Qt::LeftButton);
    EXPECT_EQ(busCommands(*window), before);
    EXPECT_FALSE(button("bnGrAuf")->isEnabled());
    EXPECT_TRUE(action("acFenster")->isEnabled());
}

} // namespace
