// The group control unit dialog opened from the window list's row of the unit on the simulated
// default bus (virtual clock): what it shows, the apply with the group drive's new pause, the
// exclusive inputs, and the failed opening.
#include "ControllerWindowFixture.h"
#include "groupunit/Gruppensg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {

struct GroupUnitWindowTest : ControllerWindowTest {
    // Opens the unit's row as "Eigenschaften" does and runs `act` on the shown dialog.
    bool openGroupUnit(std::function<void(TfmGruppenSG&)> act)
    {
        TFensterInfo unit;
        unit.address = 0;
        unit.kind = DeviceKind::GroupUnit;
        main->windowList().AddWindowRow(unit);
        main->selectRow(main->windowList().deviceCount() - 1);
        bool shown = false;
        whenShown<TfmGruppenSG>(
            *main, [this] { return &main->groupUnitWindow(); },
            [&shown, act](TfmGruppenSG& dialog) {
                shown = true;
                act(dialog);
                dialog.reject();
            });
        main->acFensterExecute();
        return shown;
    }
    QComboBox* box(TfmGruppenSG& dialog, const char* name)
    {
        return dialog.findChild<QComboBox*>(QString::fromLatin1(name));
    }
};

TEST_F(GroupUnitWindowTest, ShowsTheUnitAndAppliesANewDrivePauseForTheGroupDrive)
{
    const bool shown = openGroupUnit([&](TfmGruppenSG& dialog) {
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblStatus"))->text(),
                  QStringLiteral("01h"));
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label4"))->text(),
                  LanguageText(112) + u':');
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblerkFenster"))->text(),
                  QStringLiteral("5"));
        EXPECT_EQ(box(dialog, "cbSpaltLW")->currentText(), QStringLiteral("50%"));
        EXPECT_EQ(box(dialog, "cbFunkX16")->count(), 12);
        auto* pause = dialog.findChild<QSpinBox*>(QStringLiteral("udFahrpause"));
        EXPECT_EQ(pause->value(), 3);
        EXPECT_TRUE(dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->isReadOnly());
        pause->setValue(6);
        dialog.findChild<QPushButton*>(QStringLiteral("bnUebernehmen"))->click();
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ(messages.shown.last(), "notice: " + LanguageText(116) + ": " + LanguageText(314));
    // The group drive waits the new pause between two windows.
    EXPECT_EQ(main->windowList().groupDrivePause, 6);
    EXPECT_EQ(bus.groupUnit()->eepromByte(0x100), 6);
}

TEST_F(GroupUnitWindowTest, InputsCannotCarryTheSameFunction)
{
    ASSERT_TRUE(openGroupUnit([&](TfmGruppenSG& dialog) {
        QComboBox* x15 = box(dialog, "cbFunkX15");
        QComboBox* x16 = box(dialog, "cbFunkX16");
        x15->setCurrentIndex(2);
        emit x15->activated(2);
        EXPECT_EQ(x15->currentIndex(), 2);
        x16->setCurrentIndex(2); // "Spaltlüften" in X16 too
        emit x16->activated(2);
        EXPECT_EQ(x16->currentIndex(), 0);
        EXPECT_EQ(x16->currentText(), LanguageText(300));
        x16->setCurrentIndex(3);
        emit x16->activated(3);
        EXPECT_EQ(x16->currentIndex(), 3);
    }));
}

TEST_F(GroupUnitWindowTest, ReturnAppliesNothingOnlyTheButtonDoes)
{
    const qsizetype before = ports.requests.size();
    ASSERT_TRUE(openGroupUnit([&](TfmGruppenSG& dialog) {
        auto* pause = dialog.findChild<QSpinBox*>(QStringLiteral("udFahrpause"));
        pause->setValue(7);
        QTest::keyClick(pause, Qt::Key_Return);
        QComboBox* gap = box(dialog, "cbSpaltLW");
        gap->setCurrentIndex(1);
        QTest::keyClick(gap, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        auto* apply = dialog.findChild<QPushButton*>(QStringLiteral("bnUebernehmen"));
        apply->setFocus();
        QTest::keyClick(apply, Qt::Key_Return);
    }));
    for (qsizetype i = before; i < ports.requests.size(); ++i)
        EXPECT_NE(ports.requests[i].mode(), 0x09) << i;
    EXPECT_EQ(bus.groupUnit()->eepromByte(0x100), 3);
}

TEST_F(GroupUnitWindowTest, InputThatIsNotConfigurableShowsNoEarlierChoice)
{
    ASSERT_TRUE(openGroupUnit([&](TfmGruppenSG& dialog) {
        QComboBox* x16 = box(dialog, "cbFunkX16");
        x16->setCurrentIndex(3);
        emit x16->activated(3);
    }));
    main->bus().SetWindowAddress(0);
    ASSERT_EQ(main->bus().WriteEepromByte(0x32, 0xFF), 0);
    ASSERT_TRUE(openGroupUnit([&](TfmGruppenSG& dialog) {
        QComboBox* x16 = box(dialog, "cbFunkX16");
        EXPECT_FALSE(x16->isEnabled());
        EXPECT_EQ(x16->currentIndex(), -1);
        EXPECT_TRUE(x16->currentText().isEmpty());
        // The other lists keep what they show.
        EXPECT_EQ(box(dialog, "cbSpaltLW")->currentText(), QStringLiteral("50%"));
    }));
}

TEST_F(GroupUnitWindowTest, FailedOpeningShowsItsMessageAndNoDialog)
{
    bus.failRequests({.mode = 0x08, .window = 0, .memory = 0x2C}, RequestFault::silence());
    const qsizetype before = ports.requests.size();
    EXPECT_FALSE(openGroupUnit([](TfmGruppenSG&) {}));
    EXPECT_EQ(messages.shown.last(), "error: " + LanguageText(348));
    for (qsizetype i = before; i < ports.requests.size(); ++i)
        EXPECT_NE(ports.requests[i].mode(), 0x09);
}

} // namespace
