// Row texts, header and colours of the window list.
#include "mainwindow/WindowListModel.h"
#include "mainwindow/WindowRow.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

namespace {

TFensterInfo controller(int address, int kind, int software, int chain)
{
    TFensterInfo info;
    info.address = address;
    info.windowKind = kind;
    info.softwareVersion = software;
    info.hardwareVersion = 0x0102;
    info.chainLength = chain;
    info.state = 7;
    info.status = 7;
    info.articleNumber = QStringLiteral("480101");
    return info;
}

TEST(WindowRow, ControllerRow)
{
    SetCurrentLanguage(German);
    TFensterInfo info = controller(5, 4, 0x0412, 598);
    const QStringList expected{"5",      " Drehfenster RS / Senkklapp",
                               "480101", "200 mm  ",
                               "Z07",    "4.12",
                               "0102",   " Normalbetrieb "};
    EXPECT_EQ(WindowRowTexts(info), expected);
    info.eventBits = 4;
    EXPECT_EQ(WindowRowTexts(info)[7], QStringLiteral(" Normalbetrieb Ereignisse vorhanden"));
}

TEST(WindowRow, TypeTextsBySideHandleAndArticle)
{
    SetCurrentLanguage(German);
    struct Case {
        int kind;
        int handle;
        int side;
        const char* article;
        const char* text;
    };
    const Case cases[] = {
        {1, 1, 0, "480101", " Kippfenster RS"},        {1, 0, 1, "480101", " Dreh/Kipp-Fenster LS"},
        {2, 0, 0, "480101", " DK mit Drehsperre RS"},  {2, 1, 1, "480101", " Kippfenster LS"},
        {3, 0, 1, "480101", " Oberlicht/Kippfenster"}, {4, 0, 1, "480101", " Drehfenster LS"},
        {4, 0, 1, "480202", " Senkklapp IP54"},        {5, 1, 0, "480201", " RWA Senkklapp IP54"},
        {5, 1, 0, "480101", " RWA Dreh RS /  RWA SK"}, {7, 0, 1, "480101", " Schiebe-Element LS"},
        {8, 0, 0, "480101", " PAF-M (Master) IP54"},   {0, 0, 0, "480101", " nicht bekannt"},
        {12, 1, 1, "480101", " Kippfenster LS"},
    };
    for (const Case& c : cases) {
        TFensterInfo info = controller(1, c.kind, 0x0512, 100);
        info.handleFlag = c.handle;
        info.electronicsSide = c.side;
        info.articleNumber = QString::fromLatin1(c.article);
        EXPECT_EQ(WindowRowTexts(info)[1], QString::fromLatin1(c.text))
            << c.kind << "/" << c.handle;
    }
}

TEST(WindowRow, ChainLengthOfPafDrivesHasNoOffset)
{
    EXPECT_EQ(WindowRowTexts(controller(1, 8, 0x0700, 1000))[3], QStringLiteral("318 mm  "));
    EXPECT_EQ(WindowRowTexts(controller(1, 7, 0x0700, 1000))[3], QStringLiteral("328 mm  "));
}

TEST(WindowRow, GroupUnitAndGarbledRows)
{
    SetCurrentLanguage(German);
    TFensterInfo unit;
    unit.softwareVersion = 0x0310;
    unit.hardwareVersion = 0x00A1;
    unit.status = 1;
    const QStringList expected{"0", " Gruppensteuergerät", "neu", "", "", "3.16", "00A1", ""};
    EXPECT_EQ(WindowRowTexts(unit), expected);
    unit.softwareVersion = 0x0209;
    EXPECT_EQ(WindowRowTexts(unit)[2], QStringLiteral("480110"));

    TFensterInfo garbled;
    garbled.address = 63;
    garbled.status = kStatusIncomplete;
    const QStringList twice{"3Fh", " ?", "?", "?", "?", "?", "?", " mehrfach vorhanden! "};
    EXPECT_EQ(WindowRowTexts(garbled), twice);
    garbled.status = kStatusChecksumError;
    EXPECT_EQ(WindowRowTexts(garbled)[7], QStringLiteral(" Kommunikation CKS-ERR! "));
    EXPECT_EQ(StatusText(15), QStringLiteral(" Inbetriebnahme "));
    EXPECT_EQ(StatusText(13), QStringLiteral(" unbekannt "));
}

TEST(WindowRow, StatusColoursByExactText)
{
    SetCurrentLanguage(German);
    const auto colours = [](const char* text) { return StatusColours(QString::fromUtf8(text)); };
    ASSERT_TRUE(colours(" Normalbetrieb "));
    EXPECT_EQ(colours(" Normalbetrieb ")->background, QColor(0, 0x80, 0));
    EXPECT_EQ(colours(" Normalbetrieb ")->text, QColor(Qt::white));
    EXPECT_EQ(colours(" Normalbetrieb Ereignisse vorhanden")->background, QColor(Qt::red));
    EXPECT_EQ(colours(" Inbetriebnahme Ereignisse vorhanden")->background, QColor(Qt::red));
    EXPECT_EQ(colours(" Inbetriebnahme ")->background, QColor(Qt::yellow));
    EXPECT_FALSE(colours(" unbekannt "));
    EXPECT_FALSE(colours("Normalbetrieb"));
}

TEST(WindowListModel, RowsAlwaysEndWithAnEmptyRowAndHeaderFollowsLanguage)
{
    SetCurrentLanguage(German);
    WindowListModel model;
    EXPECT_EQ(model.rowCount(), 1);
    model.AddWindowRow(controller(63, 1, 0x0512, 100));
    model.AddWindowRow(controller(2, 1, 0x0512, 100));
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.lastAddress, 2);
    EXPECT_EQ(model.rowAddress(0), 63);
    EXPECT_EQ(model.rowAddress(2), -1);
    EXPECT_EQ(model.data(model.index(2, 0), Qt::DisplayRole).toString(), QString());
    EXPECT_EQ(model.data(model.index(0, 7), Qt::BackgroundRole).value<QColor>(),
              QColor(0, 0x80, 0));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral(" Adresse"));
    SetCurrentLanguage(English);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral(" ") + LanguageText(4));
    SetCurrentLanguage(German);
    model.clear();
    EXPECT_EQ(model.rowCount(), 1);
}

} // namespace
