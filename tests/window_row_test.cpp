// Row texts, header and colours of the window list.
#include "mainwindow/core/WindowListModel.h"
#include "mainwindow/core/WindowRow.h"
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
    unit.kind = DeviceKind::GroupUnit;
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

TEST(WindowRow, StatusColourFollowsStatusKindAndEvents)
{
    struct Case {
        int status;
        int events;
        StatusColour colour;
    };
    const Case cases[] = {
        {0, 0, StatusColour::Normal},
        {11, 0, StatusColour::Normal},
        {0, 4, StatusColour::Events},
        {15, 0, StatusColour::Commissioning},
        {15, 1, StatusColour::Events},
        {13, 0, StatusColour::Plain},
        {13, 2, StatusColour::Plain},
        {kStatusIncomplete, 0, StatusColour::Plain},
        {kStatusChecksumError, 0, StatusColour::Plain},
    };
    for (const Case& c : cases) {
        TFensterInfo info = controller(1, 1, 0x0512, 100);
        info.status = c.status;
        info.eventBits = c.events;
        EXPECT_EQ(StatusColourOf(info), c.colour) << c.status << "/" << c.events;
    }
    TFensterInfo unit;
    unit.kind = DeviceKind::GroupUnit;
    unit.status = 1;
    EXPECT_EQ(StatusColourOf(unit), StatusColour::Plain);
}

TEST(WindowRow, GroupUnitAndTopHungArticleAreDecidedFromTheRecord)
{
    TFensterInfo info = controller(0, 1, 0x0512, 100);
    // Address 0 alone does not make a group control unit (a controller shown at 0 while
    // readdressing is still a controller).
    EXPECT_FALSE(info.isGroupUnit());
    info.kind = DeviceKind::GroupUnit;
    EXPECT_TRUE(info.isGroupUnit());
    for (const char* article : {"480201", "480202"}) {
        info.articleNumber = QString::fromLatin1(article);
        EXPECT_TRUE(info.isTopHungArticle()) << article;
    }
    for (const char* article : {"480101", "4802", "", "480203"}) {
        info.articleNumber = QString::fromLatin1(article);
        EXPECT_FALSE(info.isTopHungArticle()) << article;
    }
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
    EXPECT_EQ(model.device(2), nullptr);
    EXPECT_EQ(model.data(model.index(2, 0), Qt::DisplayRole).toString(), QString());
    EXPECT_EQ(model.data(model.index(0, 7), WindowListModel::StatusColourRole).toInt(),
              int(StatusColour::Normal));
    EXPECT_FALSE(model.data(model.index(0, 6), WindowListModel::StatusColourRole).isValid());
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral(" Adresse"));
    SetCurrentLanguage(English);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral(" ") + LanguageText(4));
    SetCurrentLanguage(German);
    model.clear();
    EXPECT_EQ(model.rowCount(), 1);
}

TEST(WindowListModel, LanguageSwitchShowsRowsAndSummaryInTheNewLanguageAtOnce)
{
    SetCurrentLanguage(German);
    WindowListModel model;
    TFensterInfo unit;
    unit.kind = DeviceKind::GroupUnit;
    unit.status = 1;
    model.AddWindowRow(unit);
    model.groupUnitFound = true;
    model.AddWindowRow(controller(1, 1, 0x0512, 100));
    model.AddWindowRow(controller(3, 1, 0x0512, 100));
    model.addressGap = true;
    EXPECT_EQ(model.summary(),
              QStringLiteral("2 Fenster, Gruppensteuergerät, Achtung Adresslücke"));
    EXPECT_EQ(model.cell(1, 7), QStringLiteral(" Normalbetrieb "));

    QList<int> changedRows;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         for (int row = from.row(); row <= to.row(); ++row)
                             changedRows << row;
                     });
    SetCurrentLanguage(English);
    model.retranslate();
    // Every device row is announced as changed, so the view draws it anew.
    EXPECT_EQ(changedRows, (QList<int>{0, 1, 2}));
    EXPECT_EQ(model.cell(1, 7), QStringLiteral(" ") + LanguageText(154) + QStringLiteral(" "));
    EXPECT_EQ(model.cell(0, 1), QStringLiteral(" ") + LanguageText(111));
    EXPECT_EQ(model.data(model.index(1, 7), WindowListModel::StatusColourRole).toInt(),
              int(StatusColour::Normal));
    EXPECT_EQ(model.summary(), QStringLiteral("2 %1, %2, %3")
                                   .arg(LanguageText(445), LanguageText(111), LanguageText(444)));
    SetCurrentLanguage(German);
}

TEST(WindowListModel, SummaryCountsWithSingularAndPlural)
{
    SetCurrentLanguage(English);
    WindowListModel model;
    EXPECT_EQ(model.summary(), LanguageText(296));
    model.AddWindowRow(controller(1, 1, 0x0512, 100));
    EXPECT_EQ(model.summary(), QStringLiteral("1 ") + LanguageText(76));
    model.AddWindowRow(controller(2, 1, 0x0512, 100));
    EXPECT_EQ(model.summary(), QStringLiteral("2 ") + LanguageText(445));
    EXPECT_NE(LanguageText(445), LanguageText(76));
    SetCurrentLanguage(German);
}

} // namespace
