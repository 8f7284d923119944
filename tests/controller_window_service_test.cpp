// The service dialogs opened from the controller window's tool bar on the simulated default bus
// (virtual clock): the EEPROM pages with their descriptions and the write-back, the production
// data, the event list and the status list, and their closing with the controller window.
#include "ControllerWindowFixture.h"
#include "service/Eeprom.h"
#include "service/Errlist.h"
#include "service/Liste.h"
#include "service/Proddaten.h"
#include "service/core/Tools01.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

void click(QWidget& window, const char* name)
{
    window.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
}

TEST_F(ControllerWindowTest, EepromDialogShowsDescribedPagesAndMendsAStaleChecksum)
{
    QStringList page0, page1;
    bool pausedWhileOpen = false;
    open(4, [&](TfmFenster& window) {
        whenShown<TfmEeprom>(
            window, [&window] { return window.findChild<TfmEeprom*>(); },
            [&](TfmEeprom& dialog) {
                pausedWhileOpen = main->bus().pollingState() == TFensterSteuerung::PollingPaused &&
                                  !window.findChild<QTimer*>(QStringLiteral("Timer"))->isActive();
                auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("sgTabelle"));
                const auto row = [table](int r) {
                    return table->item(r, 0)->text() + u'|' + table->item(r, 1)->text() + u'|' +
                           table->item(r, 2)->text();
                };
                page0 << row(0x34)
                      << dialog.findChild<QLabel*>(QStringLiteral("StatusBar1.0"))->text();
                auto* pages = dialog.findChild<QComboBox*>(QStringLiteral("cbSeite"));
                pages->setCurrentIndex(1);
                emit pages->activated(1);
                page1 << row(0x3E)
                      << dialog.findChild<QLabel*>(QStringLiteral("StatusBar1.0"))->text();
                click(dialog, "bnUebernehmen");
            });
        click(window, "ToolButton3");
        EXPECT_EQ(main->bus().pollingState(), TFensterSteuerung::PollingRunning);
        EXPECT_TRUE(window.findChild<QTimer*>(QStringLiteral("Timer"))->isActive());
    });
    EXPECT_TRUE(pausedWhileOpen);
    ASSERT_EQ(page0.size(), 2);
    EXPECT_TRUE(page0[0].startsWith(QStringLiteral("34h|04h|Busadresse")))
        << page0[0].toStdString();
    EXPECT_TRUE(page0[1].endsWith(QStringLiteral("(Adressbereich 21h bis 2Fh)")));
    ASSERT_EQ(page1.size(), 2);
    EXPECT_TRUE(page1[0].startsWith(QStringLiteral("7Eh|00h|"))) << page1[0].toStdString();
    EXPECT_TRUE(page1[1].endsWith(QStringLiteral("(Adressbereich 40h bis 68h)")));
    int page1Xor = 0;
    for (int a = 0x40; a <= 0x68; ++a)
        page1Xor ^= bus.controllerAt(4)->eepromByte(a);
    EXPECT_EQ(bus.controllerAt(4)->eepromByte(0x7E), page1Xor);
    // The line shows the checksum the page's bytes give, which the write-back stored.
    EXPECT_TRUE(page1[1].startsWith(QStringLiteral("Checksum: ") + HexText(page1Xor, 2)));
}

TEST_F(ControllerWindowTest, ReturnInTheEepromTableReadsNothing)
{
    qsizetype sent = -1;
    open(4, [&](TfmFenster& window) {
        whenShown<TfmEeprom>(
            window, [&window] { return window.findChild<TfmEeprom*>(); },
            [&](TfmEeprom& dialog) {
                auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("sgTabelle"));
                table->setFocus();
                const qsizetype from = ports.requests.size();
                QTest::keyClick(table, Qt::Key_Return);
                sent = ports.requests.size() - from;
                dialog.reject();
            });
        click(window, "ToolButton3");
    });
    EXPECT_EQ(sent, 0);
}

TEST_F(ControllerWindowTest, NonModalServiceDialogsCloseWithTheControllerWindow)
{
    TfmProdDaten* production = nullptr;
    TfmErrList* events = nullptr;
    TfmListe* status = nullptr;
    open(5, [&](TfmFenster& window) {
        production = window.findChild<TfmProdDaten*>();
        events = window.findChild<TfmErrList*>();
        status = window.findChild<TfmListe*>();
        click(window, "ToolButton4");
        EXPECT_TRUE(production->isVisible());
        EXPECT_EQ(production->windowTitle(),
                  QStringLiteral("Produktionsdaten Fenestrix Adresse 5"));
        EXPECT_EQ(production->findChild<QLabel*>(QStringLiteral("lblSW1"))->text(),
                  QStringLiteral("7.02"));

        click(window, "ToolButton5");
        EXPECT_TRUE(events->isVisible());
        EXPECT_TRUE(events->findChild<QLabel*>(QStringLiteral("imErr101"))->isVisibleTo(events));
        EXPECT_EQ(events->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                  LanguageText(435) + " (M) / " + LanguageText(118) + " (S)");
        EXPECT_EQ(events->findChild<QTimer*>(QStringLiteral("Timer"))->interval(), 800);

        click(window, "tbStListe");
        EXPECT_TRUE(status->isVisible());
        EXPECT_EQ(status->findChild<QLabel*>(QStringLiteral("lblAdresse"))->text(),
                  LanguageText(237) + QStringLiteral(" 5"));
        auto* values = status->findChild<QTableWidget*>(QStringLiteral("sgListe"));
        EXPECT_EQ(values->item(30, 2)->text(), QStringLiteral("0702h"));
        EXPECT_TRUE(values->item(56, 2)->text().isEmpty());
        EXPECT_TRUE(window.findChild<QTimer*>(QStringLiteral("Timer"))->isActive());
        EXPECT_TRUE(window.findChild<QAbstractButton*>(QStringLiteral("tbStListe"))->isEnabled());
    });
    EXPECT_FALSE(production->isVisible());
    EXPECT_FALSE(events->isVisible());
    EXPECT_FALSE(events->findChild<QTimer*>(QStringLiteral("Timer"))->isActive());
    EXPECT_FALSE(status->isVisible());
}

TEST_F(ControllerWindowTest, StatusListFillEndsWhenTheWindowClosesDuringIt)
{
    qsizetype requestsAfterClose = 0;
    open(1, [&](TfmFenster& window) {
        auto* status = window.findChild<TfmListe*>();
        // The window is closed while the fill lets events run between its entries.
        QTimer::singleShot(0, &window, [&] {
            window.reject();
            requestsAfterClose = ports.requests.size();
        });
        click(window, "tbStListe");
        EXPECT_FALSE(status->isVisible());
    });
    // At most the entry under way when the window closed is read after it.
    EXPECT_LE(ports.requests.size() - requestsAfterClose, 2);
    EXPECT_EQ(main->bus().pollingState(), TFensterSteuerung::PollingOff);
}

} // namespace
