// The value edit, port, language, bus-scan, info and progress dialogs, driven through their
// controls as the user would.
#include "RecordedMessages.h"
#include "RecordingSerial.h"
#include "service/Wertedit.h"
#include "texts/Comportwahl.h"
#include "texts/Fortschritt.h"
#include "texts/Info.h"
#include "texts/MessageBoxes.h"
#include "texts/NetworkText.h"
#include "texts/QtTranslations.h"
#include "texts/Scan.h"
#include "texts/Sprachauswahl.h"
#include "texts/Sprachen.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

template <typename T> T* Child(const QWidget& dialog, const char* name)
{
    T* child = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Click(const QWidget& dialog, const char* button)
{
    Child<QPushButton>(dialog, button)->click();
}

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override { SetCurrentLanguage(German); }
    void TearDown() override { SetCurrentLanguage(German); }
};

// ---- Value edit dialog ----

class ValueEdit : public Dialogs {
protected:
    // Shows the dialog and replaces the input's text by typing `typed`.
    void open(const char* typed = nullptr)
    {
        dialog.show();
        if (typed) {
            input()->clear();
            QTest::keyClicks(combo(), QString::fromLatin1(typed));
        }
    }
    QComboBox* combo() { return Child<QComboBox>(dialog, "cbWert"); }
    QLineEdit* input() { return combo()->lineEdit(); }
    QStringList history()
    {
        QStringList items;
        for (int i = 0; i < combo()->count(); ++i)
            items << combo()->itemText(i);
        return items;
    }

    RecordedMessages messages;
    TfmWertEdit dialog{messages};
};

TEST_F(ValueEdit, BusAddressRangeRejectsWithFixedGermanMessagesAndStaysOpen)
{
    SetCurrentLanguage(English);
    dialog.Configure(1, 30, 1, 2);
    struct Case {
        const char* typed;
        const char* message;
    };
    for (const Case c : {Case{"31", "warning: Fehler: Wert zu groß."},
                         Case{"0", "warning: Fehler: Wert zu klein."},
                         Case{"99999999999", "warning: Fehler: Wert ungültig"}}) {
        messages.shown.clear();
        open(c.typed);
        Click(dialog, "bnUebernehmen");
        EXPECT_EQ(messages.shown, QStringList{QString::fromUtf8(c.message)}) << c.typed;
        EXPECT_TRUE(dialog.isVisible()) << c.typed;
        EXPECT_EQ(input()->text(), QString::fromLatin1(c.typed));
    }
}

TEST_F(ValueEdit, AcceptsInRangeHexAndThe3FhExceptionWhateverTheRange)
{
    dialog.Configure(1, 30, 1, 2);
    struct Case {
        const char* typed;
        int value;
    };
    for (const Case c : {Case{"1Eh", 30}, Case{"63", 63}, Case{"7", 7}}) {
        open(c.typed);
        Click(dialog, "bnUebernehmen");
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.typed;
        EXPECT_FALSE(dialog.isVisible()) << c.typed;
        EXPECT_EQ(dialog.value(), c.value) << c.typed;
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(ValueEdit, EmptyTextIsZeroWhenTheMinimumAllowsIt)
{
    dialog.Configure(0, 255, 1, 2);
    dialog.setValue(9);
    open();
    input()->clear();
    Click(dialog, "bnUebernehmen");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.value(), 0);
}

TEST_F(ValueEdit, TypingIsFilteredToHexText)
{
    struct Case {
        const char* typed;
        const char* text;
        int caret;
    };
    for (const Case c :
         {Case{"1E", "1Eh", 2}, Case{"12h5", "12h", 3}, Case{"x7", "7", 1}, Case{"h", "", 0}}) {
        open(c.typed);
        EXPECT_EQ(input()->text(), QString::fromLatin1(c.text)) << c.typed;
        EXPECT_EQ(input()->cursorPosition(), c.caret) << c.typed;
    }
}

TEST_F(ValueEdit, EnterAcceptsAndEscapeCancelsKeepingTheValue)
{
    dialog.Configure(1, 30, 1, 2);
    dialog.setValue(5);
    open("12");
    QTest::keyClick(combo(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.value(), 12);

    open("20");
    QTest::keyClick(combo(), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.value(), 12);
}

TEST_F(ValueEdit, HistoryHoldsEachAcceptedValueOnceAndRestartsWithOtherDigits)
{
    dialog.Configure(0, 255, 2, 4);
    dialog.setValue(26);
    for (int use = 0; use < 2; ++use) {
        open();
        EXPECT_EQ(input()->text(), QStringLiteral("001Ah"));
        Click(dialog, "bnUebernehmen");
    }
    EXPECT_EQ(history(), QStringList{QStringLiteral("001Ah")});

    dialog.Configure(0, 255, 2, 2);
    dialog.setValue(5);
    open();
    EXPECT_TRUE(history().isEmpty());
    Click(dialog, "bnUebernehmen");
    EXPECT_EQ(history(), QStringList{QStringLiteral("05h")});
}

TEST_F(ValueEdit, OpensWithTheValueInItsDisplayModeAndTheCaretBeforeTheH)
{
    struct Case {
        int mode;
        int value;
        const char* text;
        int caret;
    };
    for (const Case c : {Case{0, 10, "Ah", 1}, Case{1, 10, "10", 2}, Case{3, 255, "255", 3},
                         Case{2, 10, "0Ah", 2}}) {
        dialog.Configure(0, 255, c.mode, 2);
        dialog.setValue(c.value);
        dialog.setName(QStringLiteral("Adresse"));
        open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_EQ(input()->text(), QString::fromLatin1(c.text)) << c.mode;
        EXPECT_EQ(input()->cursorPosition(), c.caret) << c.mode;
        EXPECT_FALSE(input()->hasSelectedText()) << c.mode;
        EXPECT_EQ(Child<QLabel>(dialog, "lblName")->text(), QStringLiteral("Adresse"));
        dialog.reject();
    }
}

// ---- Port dialog ----

// COM numbers that open, that exist without rights, and none else; changeable between showings.
class PluggablePorts final : public SerialPorts {
public:
    explicit PluggablePorts(ScriptedLine& line) : m_line(line) {}
    std::unique_ptr<SerialDevice> createDevice() override
    {
        return std::make_unique<ScriptedSerialDevice>(m_line);
    }
    QString devicePath(int number) const override
    {
        const char* kind = present.count(number)  ? "scripted"
                           : denied.count(number) ? "denied"
                                                  : "missing";
        return QStringLiteral("%1:%2").arg(QString::fromLatin1(kind)).arg(number);
    }

    std::set<int> present;
    std::set<int> denied;

private:
    ScriptedLine& m_line;
};

DeviceAccess FakeAccess(const QString& path)
{
    const bool denied = path.startsWith(QStringLiteral("denied:"));
    return denied ? DeviceAccess::Denied : DeviceAccess::Missing;
}

class PortDialog : public Dialogs {
protected:
    QComboBox* ports() { return Child<QComboBox>(dialog, "cbPort"); }
    QList<int> listed()
    {
        QList<int> numbers;
        for (int i = 0; i < ports()->count(); ++i)
            numbers << ports()->itemData(i).toInt();
        return numbers;
    }
    // Shows the dialog with `port` stored, then closes it with `typed` (if any) in the port box.
    void acceptWith(int port, const char* typed, int baud = 19200)
    {
        dialog.setSettings(port, baud);
        dialog.show();
        if (typed)
            ports()->setEditText(QString::fromLatin1(typed));
        Click(dialog, "bnUbernehmen");
    }

    VirtualClock clock;
    ScriptedLine line{clock};
    PluggablePorts fake{line};
    TfmComPortWahl dialog{fake, nullptr, FakeAccess};
};

TEST_F(PortDialog, ListsThePortsThatOpenAndSelectsTheStoredOneOrTheFirst)
{
    fake.present = {1, 3};
    dialog.setSettings(3, 19200);
    dialog.show();
    EXPECT_EQ(listed(), (QList<int>{1, 3}));
    EXPECT_EQ(ports()->currentData().toInt(), 3);
    EXPECT_TRUE(ports()->currentText().startsWith(QStringLiteral("COM3")));
    EXPECT_EQ(Child<QComboBox>(dialog, "cbBaud")->currentText(), QStringLiteral("19200"));
    dialog.reject();

    dialog.setSettings(5, 19200);
    dialog.show();
    EXPECT_EQ(ports()->currentData().toInt(), 1);
    dialog.reject();
}

TEST_F(PortDialog, ProbesAt19200AndClosesEveryPortAtOnce)
{
    fake.present = {2, 7, 19};
    dialog.show();
    EXPECT_EQ(listed(), (QList<int>{2, 7, 19}));
    EXPECT_EQ(line.baud, 19200u);
    EXPECT_EQ(line.events.filter(QStringLiteral(" open")).size(), 3);
    EXPECT_EQ(line.events.filter(QStringLiteral(" close")).size(), 3);
    EXPECT_TRUE(line.events.last().endsWith(QStringLiteral("close")));
}

TEST_F(PortDialog, RebuildsTheListOnEveryShowing)
{
    fake.present = {1};
    dialog.show();
    dialog.reject();
    fake.present = {1, 4};
    dialog.show();
    EXPECT_EQ(listed(), (QList<int>{1, 4}));
    dialog.reject();
    fake.present = {};
    dialog.show();
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(PortDialog, APortWithoutAccessRightsIsNamedNotListed)
{
    fake.present = {1};
    fake.denied = {5};
    dialog.show();
    EXPECT_EQ(listed(), QList<int>{1});
    QLabel* note = Child<QLabel>(dialog, "lblHinweis");
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().startsWith(QStringLiteral("COM5: denied:5")));
    EXPECT_TRUE(note->text().contains(QStringLiteral("dialout")));
    dialog.reject();

    fake.denied = {};
    dialog.show();
    EXPECT_FALSE(note->isVisible());
}

TEST_F(PortDialog, TheAccessRightsNoteIsInTheCurrentLanguage)
{
    fake.denied = {5};
    QLabel* note = Child<QLabel>(dialog, "lblHinweis");
    QSet<QString> notes;
    for (int language = 0; language < kLanguageCount; ++language) {
        SetCurrentLanguage(language);
        dialog.show();
        EXPECT_TRUE(note->text().startsWith(QStringLiteral("COM5: denied:5 "))) << language;
        EXPECT_TRUE(note->text().contains(QStringLiteral("-aG dialout $USER"))) << language;
        notes.insert(note->text());
        dialog.reject();
    }
    EXPECT_EQ(notes.size(), kLanguageCount);
}

TEST_F(PortDialog, TakesTheNumberAfterComAndKeepsThePortForOtherText)
{
    fake.present = {1, 3};
    acceptWith(1, nullptr);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.port(), 1);

    acceptWith(1, "COM12");
    EXPECT_EQ(dialog.port(), 12);
    acceptWith(12, "COM-2");
    EXPECT_EQ(dialog.port(), 0);
    acceptWith(3, "USB0");
    EXPECT_EQ(dialog.port(), 3);
    fake.present = {};
    acceptWith(3, nullptr);
    EXPECT_EQ(dialog.port(), 3);
}

TEST_F(PortDialog, BaudRateCannotBeChangedAndAnUnlistedRateSurvives)
{
    fake.present = {1};
    QComboBox* baud = Child<QComboBox>(dialog, "cbBaud");
    EXPECT_FALSE(baud->isEnabled());
    acceptWith(1, nullptr, 57600);
    EXPECT_EQ(dialog.baud(), 57600);
    acceptWith(1, nullptr, 115200);
    EXPECT_EQ(dialog.baud(), 115200);
}

// The gateway's entry: shown as stored, the COM port off while it is chosen, no OK without a
// host, and kept with its host also when the COM port is taken.
TEST_F(PortDialog, NetworkEntryIsShownAsStoredAndHandedBack)
{
    fake.present = {1, 3};
    auto* network = Child<QGroupBox>(dialog, "gbNetzwerk");
    auto* host = Child<QLineEdit>(dialog, "edRechner");
    auto* tcpPort = Child<QSpinBox>(dialog, "seTcpPort");
    auto* protocol = Child<QComboBox>(dialog, "cbProtokoll");
    auto* ok = Child<QPushButton>(dialog, "bnUbernehmen");

    dialog.setSettings(3, 19200);
    dialog.setGateway(NetworkPort{NetworkPort::Protocol::Rfc2217, QStringLiteral("gw"), 2217},
                      true);
    dialog.show();
    EXPECT_TRUE(network->isChecked());
    EXPECT_EQ(host->text(), QStringLiteral("gw"));
    EXPECT_EQ(tcpPort->value(), 2217);
    EXPECT_EQ(protocol->currentText(), NetworkLanguageText(NetworkText::Rfc2217));
    EXPECT_FALSE(ports()->isEnabled());
    host->clear();
    EXPECT_FALSE(ok->isEnabled());
    host->setText(QStringLiteral(" 10.0.0.7 "));
    protocol->setCurrentIndex(int(NetworkPort::Protocol::RawTcp));
    ASSERT_TRUE(ok->isEnabled());
    Click(dialog, "bnUbernehmen");
    ASSERT_TRUE(dialog.overNetwork());
    EXPECT_EQ(dialog.gateway(),
              (NetworkPort{NetworkPort::Protocol::RawTcp, QStringLiteral("10.0.0.7"), 2217}));
    EXPECT_EQ(dialog.port(), 3) << "the COM port stays as it was";

    dialog.show();
    network->setChecked(false);
    EXPECT_TRUE(ports()->isEnabled());
    host->clear();
    EXPECT_TRUE(ok->isEnabled()) << "no host is needed for a COM port";
    host->setText(QStringLiteral("gw2"));
    ports()->setCurrentIndex(0);
    Click(dialog, "bnUbernehmen");
    EXPECT_FALSE(dialog.overNetwork());
    EXPECT_EQ(dialog.port(), 1);
    EXPECT_EQ(dialog.gateway()->host, QStringLiteral("gw2"));

    dialog.setGateway(std::nullopt, false);
    dialog.show();
    EXPECT_FALSE(network->isChecked());
    EXPECT_TRUE(host->text().isEmpty());
    EXPECT_EQ(tcpPort->value(), 4001);
    Click(dialog, "bnUbernehmen");
    EXPECT_FALSE(dialog.gateway().has_value());
}

// ---- Language dialog ----

TEST_F(Dialogs, LanguageDialogAlwaysDeliversALanguageNumber)
{
    Tfm_sprachauswahl dialog;
    QComboBox* box = Child<QComboBox>(dialog, "ComboBox1");
    dialog.selectLanguage(Dutch);
    EXPECT_EQ(box->currentText(), QStringLiteral("Niederländisch"));
    EXPECT_EQ(dialog.chosenLanguage(), Dutch);

    box->setCurrentIndex(Spanish);
    EXPECT_EQ(dialog.chosenLanguage(), Spanish);
    box->setEditText(QStringLiteral("englisch"));
    EXPECT_EQ(dialog.chosenLanguage(), English);
    box->setEditText(QStringLiteral("Klingonisch"));
    EXPECT_EQ(dialog.chosenLanguage(), Dutch);
    box->setEditText(QString());
    EXPECT_EQ(dialog.chosenLanguage(), Dutch);
}

// ---- Bus-scan dialog ----

TEST_F(Dialogs, ScanDialogIsLargeOnceThenCompactWithCancel)
{
    TfmScan dialog;
    dialog.showSettings(3, 19200);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_TRUE(Child<QGroupBox>(dialog, "gbBild")->isVisible());
    EXPECT_FALSE(Child<QPushButton>(dialog, "bnAbbrechen")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), Child<QPushButton>(dialog, "bnStart"));
    EXPECT_EQ(Child<QLabel>(dialog, "lblPort")->text(), QStringLiteral("COM3"));
    EXPECT_EQ(Child<QLabel>(dialog, "lblBaud")->text(), QStringLiteral("19200"));
    EXPECT_GT(dialog.height(), 182);
    // Without a cancel button Escape does not skip the start-up scan.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(Child<QGroupBox>(dialog, "gbBild")->isVisible());
    Click(dialog, "bnStart");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    for (int showing = 2; showing <= 3; ++showing) {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        EXPECT_FALSE(Child<QGroupBox>(dialog, "gbBild")->isVisible());
        QPushButton* cancel = Child<QPushButton>(dialog, "bnAbbrechen");
        EXPECT_TRUE(cancel->isVisible());
        EXPECT_EQ(cancel->text(), QStringLiteral("Abbrechen"));
        EXPECT_EQ(dialog.height(), 182);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << showing;
    }
}

TEST_F(Dialogs, ScanDialogAsksForOtherSettingsAndShowsThemAgain)
{
    TfmScan dialog;
    dialog.showSettings(1, 19200);
    QObject::connect(&dialog, &TfmScan::changeSettingsRequested, &dialog, [&] {
        dialog.showSettings(*BusPort::parse(QStringLiteral("rfc2217://gw:4001")), 19200);
    });
    dialog.show();
    Click(dialog, "bnAendern");
    EXPECT_EQ(Child<QLabel>(dialog, "lblPort")->text(), QStringLiteral("rfc2217://gw:4001"));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(Dialogs, PicturesAreDecodedFromTheResources)
{
    TfmScan scan;
    const QPixmap photo = Child<QLabel>(scan, "imFoto")->pixmap();
    EXPECT_FALSE(photo.isNull()) << "JPEG not decoded";
    EXPECT_EQ(Child<QLabel>(scan, "imLogo")->pixmap().size(), QSize(268, 32));
    TfmInfo info;
    EXPECT_EQ(Child<QLabel>(info, "Image1")->pixmap().size(), QSize(189, 44));
}

// ---- Info dialog ----

TEST_F(Dialogs, InfoDialogHasNoCloseBoxAndClosesOnlyWithOk)
{
    TfmInfo dialog;
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    Click(dialog, "Button1");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(Dialogs, InfoDialogShowsTheProjectVersion)
{
    TfmInfo dialog;
    EXPECT_EQ(Child<QLabel>(dialog, "lblVersion")->text(), QStringLiteral(PROJECT_VERSION));
}

// ---- Progress dialog ----

class Progress : public Dialogs {
protected:
    QProgressBar* bar() { return Child<QProgressBar>(dialog, "ProgressBar"); }
    QPushButton* cancel() { return Child<QPushButton>(dialog, "bnAbbrechen"); }
    QString label() { return Child<QLabel>(dialog, "lblBeschriftung")->text(); }

    TfmFortschritt dialog;
};

TEST_F(Progress, EachKindSetsLabelMaximumAndCancelButton)
{
    SetCurrentLanguage(English);
    struct Case {
        int kind;
        int maximum;
        int barMaximum;
        int text;
        bool cancellable;
    };
    for (const Case c :
         {Case{1, 99, 31, 93, true}, Case{2, 0, 256, 278, true}, Case{3, 5, 31, 32, true},
          Case{0, 12, 12, 275, true}, Case{7, 40, 40, 275, true}, Case{4, 6, 12, -1, false},
          Case{1, 0, 31, 93, true}}) {
        dialog.PrepareProgress(c.kind, c.maximum);
        dialog.showProgress();
        EXPECT_EQ(bar()->maximum(), c.barMaximum) << c.kind;
        EXPECT_EQ(bar()->value(), 0) << c.kind;
        EXPECT_EQ(cancel()->isVisible(), c.cancellable) << c.kind;
        const QString fixedGerman = QStringLiteral("Busadressen werden sortiert, bitte warten...");
        EXPECT_EQ(label(), c.text < 0 ? fixedGerman : LanguageText(c.text)) << c.kind;
        dialog.setPosition(c.barMaximum / 2);
        dialog.closeProgress();
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST_F(Progress, CancelOnlyRaisesTheFlagUntilTheNextPreparation)
{
    dialog.PrepareProgress(ProgressReporter::BusScan, 31);
    dialog.showProgress();
    dialog.setPosition(7);
    EXPECT_FALSE(dialog.aborted());
    cancel()->click();
    EXPECT_TRUE(dialog.aborted());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(bar()->value(), 7);

    dialog.PrepareProgress(ProgressReporter::BusScan, 31);
    EXPECT_FALSE(dialog.aborted());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.aborted());
    EXPECT_TRUE(dialog.isVisible());

    dialog.PrepareProgress(ProgressReporter::Readdressing, 3);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.aborted());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(dialog.isModal());
}

// ---- Message boxes ----

struct ShownBox {
    QString caption;
    QString platformCaption; // what the window system is given
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Runs `show`, which opens a modal message box, and answers the box with "No", else "OK".
ShownBox AnswerMessageBox(const std::function<void()>& show)
{
    ShownBox seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->windowHandle()->title(), box->text(),
                box->standardButtons(), box->standardButton(box->defaultButton())};
        QAbstractButton* no = box->button(QMessageBox::No);
        (no ? no : box->button(QMessageBox::Ok))->click();
    });
    show();
    return seen;
}

TEST_F(Dialogs, QuestionsOfferTheirButtonsWithNoAsTheDefault)
{
    MessageBoxes boxes;
    using Buttons = UserMessages::Buttons;
    ShownBox seen = AnswerMessageBox(
        [&] { EXPECT_FALSE(boxes.confirm(LanguageText(221), Buttons::YesNoCancel)); });
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(seen.defaultButton, QMessageBox::No);
    seen =
        AnswerMessageBox([&] { EXPECT_FALSE(boxes.confirm(LanguageText(221), Buttons::YesNo)); });
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen.defaultButton, QMessageBox::No);
}

TEST_F(Dialogs, CaptionsAreTheTableTextsAndEveryLineBreakShows)
{
    const LanguageTable& table = LanguageTable::builtIn();
    MessageBoxes boxes;
    ShownBox seen = AnswerMessageBox(
        [&] { EXPECT_FALSE(boxes.confirm(LanguageText(277), UserMessages::Buttons::YesNo)); });
    EXPECT_EQ(seen.caption, table.text(German, 257));
    EXPECT_EQ(seen.platformCaption, seen.caption);
    EXPECT_EQ(seen.text, QStringLiteral("Diese Aktion greift schwerwiegend in den Busverband "
                                        "ein.\nWollen Sie das wirklich?"));

    SetCurrentLanguage(Spanish);
    seen = AnswerMessageBox([&] { boxes.error(LanguageText(221)); });
    EXPECT_EQ(seen.caption, table.text(Spanish, 74));
    EXPECT_EQ(seen.platformCaption, seen.caption);
    EXPECT_EQ(seen.text.split(u'\n').size(), 3);
    EXPECT_FALSE(seen.text.contains(u'\r'));

    seen = AnswerMessageBox(
        [&] { boxes.notice(LanguageText(309), QStringLiteral("uno\r\ndos\r\rtres")); });
    EXPECT_EQ(seen.caption, table.text(Spanish, 309));
    EXPECT_EQ(seen.text, QStringLiteral("uno\ndos\n\ntres"));

    TfmInfo info;
    info.show();
    EXPECT_EQ(info.windowHandle()->title(), table.text(Spanish, 116));
}

TEST_F(Dialogs, QtStandardButtonsFollowTheLanguage)
{
    const QString catalogue =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm");
    if (!QFile::exists(catalogue))
        GTEST_SKIP() << "Qt's German catalogue is not installed: " << catalogue.toStdString();
    const auto buttonTexts = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return QStringList{box.button(QMessageBox::Yes)->text(),
                           box.button(QMessageBox::No)->text(),
                           box.button(QMessageBox::Cancel)->text()};
    };
    const QStringList english = buttonTexts();
    EXPECT_EQ(english.first(), QStringLiteral("&Yes"));
    for (int pass = 0; pass < 2; ++pass) {
        ApplyQtTranslations(German);
        EXPECT_EQ(buttonTexts(), (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nein"),
                                              QStringLiteral("Abbrechen")}))
            << pass;
        ApplyQtTranslations(English);
        EXPECT_EQ(buttonTexts(), english) << pass;
    }
}

// ---- Language change ----

TEST_F(Dialogs, LanguageChangeRenamesHiddenDialogs)
{
    VirtualClock clock;
    ScriptedLine line(clock);
    ScriptedPorts ports(line, {});
    RecordedMessages messages;
    TfmScan scan;
    TfmComPortWahl portDialog(ports);
    Tfm_sprachauswahl languageDialog;
    TfmInfo info;
    TfmFortschritt progress;
    TfmWertEdit valueEdit(messages);

    SetCurrentLanguage(English);
    scan.SetLanguage();
    portDialog.SetLanguage();
    languageDialog.SetLanguage();
    info.SetLanguage();
    progress.SetLangage();
    valueEdit.SetLanguage();

    scan.show();
    EXPECT_EQ(scan.windowTitle(), QStringLiteral("Bus scan"));
    EXPECT_EQ(Child<QPushButton>(scan, "bnStart")->text(), QStringLiteral("Scan window bus"));
    EXPECT_EQ(Child<QPushButton>(scan, "bnAendern")->text(), QStringLiteral("Change settings"));
    EXPECT_EQ(portDialog.windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(Child<QLabel>(portDialog, "Label1")->text(), QStringLiteral("COM port"));
    EXPECT_EQ(languageDialog.windowTitle(), QStringLiteral("Language selection"));
    EXPECT_EQ(Child<QComboBox>(languageDialog, "ComboBox1")->itemText(English),
              QStringLiteral("Englisch"));
    EXPECT_EQ(Child<QLabel>(info, "Label4")->text(),
              QStringLiteral("Technical support +49 (0) 000 000000"));
    EXPECT_EQ(progress.windowTitle(), QStringLiteral("Progress"));
    EXPECT_EQ(Child<QLabel>(progress, "lblBeschriftung")->text(), QStringLiteral("please wait..."));
    EXPECT_EQ(valueEdit.windowTitle(), QStringLiteral("Edit"));
    EXPECT_EQ(Child<QGroupBox>(valueEdit, "GroupBox1")->title(), QStringLiteral("Entry:"));
}

} // namespace
