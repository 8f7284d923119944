// The controller window's command buttons and setting controls on the simulated default bus
// (virtual clock): what a click, a pointer press or a key sends, what the window shows
// afterwards, and what the simulated controller made of it.
#include "ControllerWindowFixture.h"
#include "controller/Led.h"
#include "mainwindow/Busmonitor.h"
#include "mainwindow/core/TraceTableModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace {

QAbstractButton* buttonOf(TfmFenster& window, const char* name)
{
    return window.findChild<QAbstractButton*>(QString::fromLatin1(name));
}

TEST_F(ControllerWindowTest, WindowCommandsInNormalOperationLocksInCommissioning)
{
    open(1, [&](TfmFenster& window) {
        qsizetype from = ports.requests.size();
        buttonOf(window, "bnWinKipp")->click();
        EXPECT_EQ(requestsFrom(from), QStringList{"41:000=0000"});
        clock.sleepMs(1500);
        EXPECT_TRUE(controller(1).driveMoving);
        from = ports.requests.size();
        buttonOf(window, "Button3")->click();
        EXPECT_EQ(requestsFrom(from), QStringList{"44:000=0000"});
        EXPECT_FALSE(controller(1).driveMoving);
        EXPECT_EQ(buttonOf(window, "bnWinAuf")->text(), LanguageText(163));
        // The lock buttons wait for commissioning.
        EXPECT_FALSE(buttonOf(window, "bnSROentriegeln")->isEnabled());

        enterCommissioning(window);
        EXPECT_FALSE(buttonOf(window, "bnWinKipp")->isEnabled());
        from = ports.requests.size();
        buttonOf(window, "bnSROentriegeln")->click();
        EXPECT_EQ(requestsFrom(from), QStringList{"30:000=000d"});
        EXPECT_FALSE(controller(1).upperLocked);
        EXPECT_EQ(textOf(window, "lblSRO"), LanguageText(159) + " " + LanguageText(69));
        EXPECT_FALSE(window.findChild<QLabel*>(QStringLiteral("imRolleO"))->pixmap().isNull());
        from = ports.requests.size();
        buttonOf(window, "bnSRUentriegeln")->click();
        buttonOf(window, "bnSROverriegeln")->click();
        EXPECT_EQ(requestsFrom(from), (QStringList{"30:000=000b", "30:000=000c"}));
        EXPECT_TRUE(controller(1).upperLocked);
        EXPECT_FALSE(controller(1).lowerLocked);
    });
}

TEST_F(ControllerWindowTest, JogRunsWhileAPointerButtonIsHeldAndNotFromTheKeyboard)
{
    open(2, [&](TfmFenster& window) {
        auto* open = buttonOf(window, "bnKAauf");
        // Normal operation: the jog is disabled and a press sends nothing.
        qsizetype from = ports.requests.size();
        QTest::mousePress(open, Qt::LeftButton);
        QTest::mouseRelease(open, Qt::LeftButton);
        EXPECT_TRUE(requestsFrom(from).isEmpty());
        enterCommissioning(window);
        auto* timer = window.findChild<QTimer*>(QStringLiteral("Timer"));
        from = ports.requests.size();
        // The keyboard has no press and release: nothing is sent.
        open->setFocus();
        QTest::keyClick(open, Qt::Key_Space);
        open->click();
        EXPECT_TRUE(requestsFrom(from).isEmpty());

        // Any pointer button: the right one as well.
        QTest::mousePress(open, Qt::RightButton);
        EXPECT_EQ(requestsFrom(from), QStringList{"30:000=0010"});
        EXPECT_FALSE(timer->isActive());
        EXPECT_EQ(main->bus().pollingState(), TFensterSteuerung::PollingPaused);
        clock.sleepMs(1500);
        EXPECT_TRUE(controller(2).driveMoving);
        QTest::mouseRelease(open, Qt::RightButton);
        EXPECT_EQ(requestsFrom(from), (QStringList{"30:000=0010", "30:000=0012", "30:000=0012"}));
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(main->bus().pollingState(), TFensterSteuerung::PollingRunning);
        EXPECT_FALSE(controller(2).driveMoving);

        // A left click is a press, a release and a click: the click adds nothing.
        from = ports.requests.size();
        QTest::mouseClick(buttonOf(window, "bnKAzu"), Qt::LeftButton);
        EXPECT_EQ(requestsFrom(from), (QStringList{"30:000=0011", "30:000=0012", "30:000=0012"}));
    });
}

TEST_F(ControllerWindowTest, JogPressHeldBackByARefreshThatDisablesItIsDropped)
{
    open(2, [&](TfmFenster& window) {
        enterCommissioning(window);
        auto* open = buttonOf(window, "bnKAauf");
        ASSERT_TRUE(open->isEnabled());
        // The roller test starts; the jog stays enabled until the next refresh.
        buttonOf(window, "bnFRentriegeln")->click();
        // The pointer goes down while that refresh reads, and up after it.
        QTimer::singleShot(0, open, [open] { QTest::mousePress(open, Qt::LeftButton); });
        const qsizetype from = ports.requests.size();
        window.TimerTimer();
        EXPECT_FALSE(open->isEnabled());
        QTest::mouseRelease(open, Qt::LeftButton);
        clock.sleepMs(1000);
        EXPECT_FALSE(requestsFrom(from).contains(QStringLiteral("30:000=0010")));
        EXPECT_FALSE(controller(2).driveMoving);
        EXPECT_TRUE(window.findChild<QTimer*>(QStringLiteral("Timer"))->isActive());
        EXPECT_EQ(main->bus().pollingState(), TFensterSteuerung::PollingRunning);
    });
}

TEST_F(ControllerWindowTest, JogReleaseStopsTheDriveAlsoWhenTheButtonWasDisabledMeanwhile)
{
    open(2, [&](TfmFenster& window) {
        enterCommissioning(window);
        auto* open = buttonOf(window, "bnKAauf");
        const qsizetype from = ports.requests.size();
        QTest::mousePress(open, Qt::LeftButton);
        clock.sleepMs(1000);
        ASSERT_TRUE(controller(2).driveMoving);
        // As a refresh leaves it when the roller test started or commissioning ended.
        open->setEnabled(false);
        QTest::mouseRelease(open, Qt::LeftButton);
        EXPECT_EQ(requestsFrom(from), (QStringList{"30:000=0010", "30:000=0012", "30:000=0012"}));
        EXPECT_FALSE(controller(2).driveMoving);
        EXPECT_TRUE(window.findChild<QTimer*>(QStringLiteral("Timer"))->isActive());
        EXPECT_EQ(main->bus().pollingState(), TFensterSteuerung::PollingRunning);
    });
}

TEST_F(ControllerWindowTest, SlidingDriveJogsFromClickToClickAlsoFromTheKeyboard)
{
    open(4, [&](TfmFenster& window) {
        enterCommissioning(window);
        auto* open = buttonOf(window, "bnKAauf");
        const qsizetype from = ports.requests.size();
        open->setFocus();
        QTest::keyClick(open, Qt::Key_Space);
        clock.sleepMs(1000);
        EXPECT_TRUE(controller(4).driveMoving);
        QTest::mouseClick(buttonOf(window, "bnKAzu"), Qt::LeftButton);
        EXPECT_EQ(requestsFrom(from), (QStringList{"30:000=0010", "30:000=0012", "30:000=0012"}));
        EXPECT_FALSE(controller(4).driveMoving);
    });
}

TEST_F(ControllerWindowTest, ClosingWithAHeldJogStopsTheDrive)
{
    qsizetype from = 0;
    open(2, [&](TfmFenster& window) {
        enterCommissioning(window);
        QTest::mousePress(buttonOf(window, "bnKAauf"), Qt::LeftButton);
        clock.sleepMs(1000);
        from = ports.requests.size();
    });
    EXPECT_EQ(requestsFrom(from).mid(0, 2), (QStringList{"30:000=0012", "30:000=0012"}));
    EXPECT_FALSE(controller(2).driveMoving);
    EXPECT_EQ(main->bus().pollingState(), TFensterSteuerung::PollingOff);
}

TEST_F(ControllerWindowTest, CommissioningQuestionThenRollerTestThatEndsWithTheWindow)
{
    messages.answers = {false, true};
    qsizetype from = 0;
    open(2, [&](TfmFenster& window) {
        auto* mode = buttonOf(window, "bnModus");
        const QString normal = mode->text();
        from = ports.requests.size();
        mode->click(); // "No"
        EXPECT_TRUE(requestsFrom(from).isEmpty());
        EXPECT_EQ(mode->text(), normal);
        mode->click(); // "Yes"
        EXPECT_EQ(requestsFrom(from), (QStringList{"09:020=00ff", "30:033=4455"}));
        EXPECT_EQ(mode->text(), LanguageText(158));
        EXPECT_FALSE(mode->isEnabled());
        EXPECT_TRUE(controller(2).commissioning);

        // The refresh learns commissioning: the finger-bolt group becomes the roller test.
        window.TimerTimer();
        EXPECT_TRUE(textOf(window, "lblFingerR").endsWith(LanguageText(439)));
        EXPECT_EQ(buttonOf(window, "bnFRentriegeln")->text(), QStringLiteral("Start"));
        for (int refresh = 0; refresh < 5; ++refresh) { // past the slow values and the picture
            clock.sleepMs(1000);
            window.TimerTimer();
        }
        // Disabled, and shown greyed even where the layout gave the text a colour.
        const QColor greyed =
            QApplication::palette().color(QPalette::Disabled, QPalette::ButtonText);
        for (const char* command : {"bnWinKipp", "bnWinZu", "Button3", "bnWinAuf"}) {
            EXPECT_FALSE(buttonOf(window, command)->isEnabled()) << command;
            EXPECT_EQ(buttonOf(window, command)
                          ->palette()
                          .color(QPalette::Disabled, QPalette::ButtonText),
                      greyed)
                << command;
        }
        from = ports.requests.size();
        buttonOf(window, "bnFRentriegeln")->click();
        auto* roller = window.findChild<QTimer*>(QStringLiteral("RollenTimer"));
        EXPECT_TRUE(roller->isActive());
        EXPECT_EQ(roller->interval(), 2000);
        EXPECT_EQ(textOf(window, "lblFingerR"), "1. " + LanguageText(335));
        EXPECT_EQ(requestsFrom(from), QStringList{"30:000=000a"});
        EXPECT_TRUE(controller(2).lowerLocked);
        // The ticks, faster than the test's 2 s: the next step locks the upper strand.
        roller->start(10);
        EXPECT_TRUE(QTest::qWaitFor([&] { return requestsFrom(from).size() >= 2; }, 2000));
        EXPECT_EQ(requestsFrom(from).value(1), QStringLiteral("30:000=000c"));
        // The refresh disables the jog while the test runs.
        window.TimerTimer();
        EXPECT_FALSE(buttonOf(window, "bnKAauf")->isEnabled());
        from = ports.requests.size();
    });
    // Closed: the test ends without a further command and the next opening is idle.
    EXPECT_FALSE(
        main->controllerWindow().findChild<QTimer*>(QStringLiteral("RollenTimer"))->isActive());
    for (const QString& request : requestsFrom(from))
        EXPECT_FALSE(request.startsWith(QStringLiteral("30:000"))) << request.toStdString();
    open(2, [&](TfmFenster& window) {
        EXPECT_FALSE(window.findChild<QTimer*>(QStringLiteral("RollenTimer"))->isActive());
        EXPECT_TRUE(textOf(window, "lblFingerR").startsWith(QStringLiteral("10x")));
    });
}

TEST_F(ControllerWindowTest, ClickDuringARefreshRunsWhenTheRefreshIsDone)
{
    open(1, [&](TfmFenster& window) {
        enterCommissioning(window);
        // The click arrives while the refresh lets events run between its telegrams.
        QMetaObject::invokeMethod(buttonOf(window, "bnSROentriegeln"), "click",
                                  Qt::QueuedConnection);
        const qsizetype from = ports.requests.size();
        window.TimerTimer();
        const QStringList sent = requestsFrom(from);
        ASSERT_FALSE(sent.isEmpty());
        EXPECT_EQ(sent.count(QStringLiteral("30:000=000d")), 1);
        EXPECT_EQ(sent.last(), QStringLiteral("30:000=000d"));
        EXPECT_FALSE(controller(1).upperLocked);
    });
}

TEST_F(ControllerWindowTest, WindowTypeWithoutAStoredTypeTicksNoItem)
{
    const auto ticked = [](TfmFenster& window) {
        QStringList items;
        for (int item = 0; item < 4; ++item) {
            if (window.findChild<QRadioButton*>(QStringLiteral("RadioGroup1Item%1").arg(item))
                    ->isChecked())
                items << QString::number(item);
        }
        return items;
    };
    open(2, [&](TfmFenster& window) {
        buttonOf(window, "RadioGroup1Item2")->click();
        EXPECT_EQ(ticked(window), QStringList{"2"});
    });
    EXPECT_EQ(bus.controllerAt(2)->eepromByte(0xAA), 3);
    main->bus().SetWindowAddress(2);
    ASSERT_EQ(main->bus().WriteEepromByte(0xAA, 0), 0);
    open(2, [&](TfmFenster& window) { EXPECT_TRUE(ticked(window).isEmpty()); });
}

TEST_F(ControllerWindowTest, LedDialogWritesTheChosenStateOnlyOnApply)
{
    struct Case {
        const char* name;
        std::function<void(Tfm_ledstatus&)> act;
        int stored;
    };
    const auto choose = [](int index, const char* typed, const char* button) {
        return [=](Tfm_ledstatus& dialog) {
            auto* box = dialog.findChild<QComboBox*>(QStringLiteral("cbLed"));
            box->setCurrentIndex(index);
            if (typed)
                box->lineEdit()->setText(QString::fromLatin1(typed));
            dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
        };
    };
    const Case cases[] = {
        {"apply dimmed", choose(2, nullptr, "Button1"), 2},
        {"cancel", choose(1, nullptr, "Button2"), 2},
        {"typed text", choose(1, "hell", "Button1"), 2},
        {"Return in the list",
         [](Tfm_ledstatus& dialog) {
             auto* box = dialog.findChild<QComboBox*>(QStringLiteral("cbLed"));
             box->setCurrentIndex(1);
             QTest::keyClick(box, Qt::Key_Return);
             EXPECT_TRUE(dialog.isVisible());
             dialog.reject();
         },
         2},
        {"apply on", choose(1, nullptr, "Button1"), 1},
    };
    open(1, [&](TfmFenster& window) {
        for (const Case& c : cases) {
            QString shownState;
            whenShown<Tfm_ledstatus>(
                window, [&window] { return window.findChild<Tfm_ledstatus*>(); },
                [&](Tfm_ledstatus& dialog) {
                    shownState =
                        dialog.findChild<QComboBox*>(QStringLiteral("cbLed"))->currentText();
                    c.act(dialog);
                });
            window.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
            EXPECT_EQ(bus.controllerAt(1)->eepromByte(0x37), c.stored) << c.name;
            EXPECT_FALSE(shownState.isEmpty()) << c.name;
        }
    });
}

TEST_F(ControllerWindowTest, ServiceKeyShowsTheSealPressureButtonOfAChainDrive)
{
    messages.answers = {true};
    open(2, [&](TfmFenster& window) {
        auto* service = window.findChild<QToolButton*>(QStringLiteral("ToolButton6"));
        EXPECT_FALSE(service->isVisibleTo(&window));
        QApplication::setActiveWindow(&window);
        QTest::keySequence(&window, kServiceKey);
        // The tool bar shows and hides its buttons when it lays itself out again.
        EXPECT_TRUE(QTest::qWaitFor([&] { return service->isVisibleTo(&window); }, 1000));
        EXPECT_EQ(service->text(), LanguageText(441));
        service->click();
        EXPECT_EQ(bus.controllerAt(2)->eepromByte(0xAC), 0x32);
        QTest::keySequence(&window, kServiceKey);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !service->isVisibleTo(&window); }, 1000));
    });
    EXPECT_EQ(messages.shown, QStringList{"confirm: " + LanguageText(443)});
    // A standard controller of software 5.12 has no service setting.
    open(1, [&](TfmFenster& window) {
        QApplication::setActiveWindow(&window);
        QTest::keySequence(&window, kServiceKey);
        QTest::qWait(100);
        EXPECT_FALSE(
            window.findChild<QToolButton*>(QStringLiteral("ToolButton6"))->isVisibleTo(&window));
    });
}

TEST_F(ControllerWindowTest, SettingControlsAskWriteAndRestore)
{
    messages.answers = {true, false, true};
    open(2, [&](TfmFenster& window) {
        auto* width = window.findChild<QComboBox*>(QStringLiteral("cbKippAntr"));
        ASSERT_GT(width->count(), 3);
        const int stored = bus.controllerAt(2)->eepromByte(0x25);
        // "Yes": written, the bar's maximum from the scale (software 7.03: 70 - 10).
        width->setCurrentIndex(2);
        emit width->activated(2);
        EXPECT_EQ(bus.controllerAt(2)->eepromByte(0x25), 3);
        EXPECT_EQ(window.findChild<QProgressBar*>(QStringLiteral("pbPosition"))->maximum(), 60);
        // "No": the stored entry is selected again.
        width->setCurrentIndex(0);
        emit width->activated(0);
        EXPECT_EQ(width->currentIndex(), 2);
        EXPECT_EQ(bus.controllerAt(2)->eepromByte(0x25), 3);
        (void)stored;

        auto* opening = window.findChild<QComboBox*>(QStringLiteral("PWM_Auf_ComboBox"));
        opening->setCurrentIndex(8);
        emit opening->activated(8);
        EXPECT_EQ(bus.controllerAt(2)->eepromByte(0xA1), 8);

        const qsizetype from = ports.requests.size();
        buttonOf(window, "bnSchaltleiste")->click();
        EXPECT_EQ(requestsFrom(from), QStringList{"13:000=1122"});
        EXPECT_FALSE(controller(2).safetyEdgeActive);

        window.findChild<QRadioButton*>(QStringLiteral("RadioGroup1Item2"))->click();
        EXPECT_EQ(bus.controllerAt(2)->eepromByte(0xAA), 3);

        auto* locking = buttonOf(window, "bnAutoVerriegeln");
        const int before = bus.controllerAt(2)->eepromByte(0x2F);
        locking->click();
        EXPECT_EQ(bus.controllerAt(2)->eepromByte(0x2F), before != 0 ? 0 : 1);
        EXPECT_TRUE(locking->isEnabled());

        // The raw value takes the button's place and gives it back.
        auto* raw = buttonOf(window, "bnRohwert");
        auto* rawValue = window.findChild<QLabel*>(QStringLiteral("lblRohwert"));
        raw->click();
        EXPECT_FALSE(raw->isVisibleTo(&window));
        EXPECT_TRUE(rawValue->isVisibleTo(&window));
        QTest::mouseClick(rawValue, Qt::LeftButton);
        EXPECT_TRUE(raw->isVisibleTo(&window));
        EXPECT_FALSE(rawValue->isVisibleTo(&window));
    });
    EXPECT_EQ(messages.shown.size(), 3);
}

} // namespace

namespace {

TEST_F(ControllerWindowTest, BusMonitorOverTheControllerWindowShowsAndSavesItsTelegrams)
{
    TelegramTrace::program().clear();
    QTemporaryDir saved;
    QString counts, firstOutcome;
    open(3, [&](TfmFenster& window) {
        buttonOf(window, "tbBusmonitor")->click();
        TfmBusmonitor& monitor = main->busMonitor();
        // Shown over the modal controller window, so that it takes input.
        EXPECT_TRUE(monitor.isVisible());
        EXPECT_EQ(monitor.parentWidget(), &window);
        window.TimerTimer();
        monitor.update();
        counts = monitor.findChild<QLabel*>(QStringLiteral("StatusBar.0"))->text();
        firstOutcome = monitor.model().line(1)[ColOutcome];
        monitor.findChild<QCheckBox*>(QStringLiteral("cbNurFehler"))->setChecked(true);
        EXPECT_EQ(monitor.model().rowCount(), 0);
        monitor.findChild<QCheckBox*>(QStringLiteral("cbNurFehler"))->setChecked(false);
        EXPECT_TRUE(monitor.saveTo(saved.filePath(QStringLiteral("monitor.csv"))));
        monitor.close();
    });
    EXPECT_TRUE(counts.startsWith(QStringLiteral("beantwortet: "))) << counts.toStdString();
    EXPECT_EQ(firstOutcome, QStringLiteral("beantwortet"));
    QFile csv(saved.filePath(QStringLiteral("monitor.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    EXPECT_TRUE(bytes.startsWith("\"Zeit\",\"+ms\""));
    EXPECT_GT(bytes.count('\n'), 20);
    // A file that cannot be written is said.
    EXPECT_FALSE(main->busMonitor().saveTo(saved.filePath(QStringLiteral("no/such/dir.csv"))));
    EXPECT_EQ(messages.shown.last(), "error: " + LanguageText(274));
}

} // namespace
