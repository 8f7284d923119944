// The compiled-in language table: complete in six languages, texts that callers rely on.
#include "texts/Sprachen.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {

int breaks(const QString& s)
{
    return static_cast<int>(s.count(u'\n') + s.count(u'\r'));
}

TEST(LanguageTable, EveryCellIsFilledAndFitsWindows1252)
{
    const LanguageTable& table = LanguageTable::builtIn();
    for (int language = 0; language < kLanguageCount; ++language) {
        EXPECT_TRUE(table.emptyCells(language).isEmpty()) << "language " << language;
        for (int id = 0; id < kTextCount; ++id) {
            QStringEncoder encoder("windows-1252");
            const QByteArray encoded = encoder.encode(table.text(language, id));
            EXPECT_FALSE(encoder.hasError()) << language << "/" << id;
            (void)encoded;
        }
    }
}

TEST(LanguageTable, TranslationsKeepLineBreaksAndOuterBlanks)
{
    const LanguageTable& table = LanguageTable::builtIn();
    const QList<int> givenTranslations{0, 1, 2, 74, 111, 221};
    for (int language = 1; language < kLanguageCount; ++language) {
        for (int id = 0; id < kTextCount; ++id) {
            if (givenTranslations.contains(id))
                continue;
            const QString de = table.text(German, id);
            const QString t = table.text(language, id);
            EXPECT_EQ(breaks(t), breaks(de)) << language << "/" << id;
            EXPECT_EQ(t.startsWith(u' '), de.startsWith(u' ')) << language << "/" << id;
            EXPECT_EQ(t.endsWith(u' '), de.endsWith(u' ')) << language << "/" << id;
        }
    }
}

TEST(LanguageTable, KnownTextsAndEscapes)
{
    const LanguageTable& table = LanguageTable::builtIn();
    EXPECT_EQ(table.text(German, 23), QStringLiteral("Bediengriff "));
    EXPECT_TRUE(table.text(German, 221).endsWith(QStringLiteral("\n ")));
    EXPECT_TRUE(table.text(German, 146).contains(QStringLiteral("\r\rWollen")));
    EXPECT_EQ(table.text(German, 54), table.text(German, 55));
    EXPECT_EQ(table.text(English, 0), QStringLiteral("English"));
    EXPECT_EQ(table.text(French, 0), QStringLiteral("Français"));
    EXPECT_EQ(
        table.text(Spanish, 221),
        QStringLiteral("¿Quiere ejecutar efectivamente la\rdirección de emergencia?\rSe perderá la "
                       "dirección-Bus actual"));
    EXPECT_EQ(table.text(Dutch, 74), QStringLiteral("foutmelding"));
}

TEST(LanguageTable, AddedTextsFillTheirPlaceholdersAndNameTheScanButton)
{
    const LanguageTable& table = LanguageTable::builtIn();
    for (int language = 0; language < kLanguageCount; ++language) {
        SCOPED_TRACE(language);
        const QString note = table.text(language, kTextNoPortPermission)
                                 .arg(4)
                                 .arg(QStringLiteral("/dev/ttyS4"), QStringLiteral("dialout"));
        EXPECT_TRUE(note.startsWith(QStringLiteral("COM4: /dev/ttyS4 ")));
        EXPECT_TRUE(note.contains(QStringLiteral("-aG dialout $USER")));
        EXPECT_EQ(note.count(QStringLiteral("dialout")), 2);
        EXPECT_FALSE(note.contains(u'%'));
        const QString scanButton = u'"' + table.text(language, 89) + u'"';
        EXPECT_TRUE(table.text(language, kTextConnectionLost).contains(scanButton));
    }
}

TEST(LanguageTable, LoneCarriageReturnsAndCrLfBecomeLineFeeds)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a\rb", "a\nb"},     {"a\r\rb", "a\n\nb"},   {"a\r\nb", "a\nb"}, {"a\r\n\r\nb", "a\n\nb"},
        {"a\n\rb", "a\n\nb"}, {"a\n b\r", "a\n b\n"}, {"ab", "ab"},
    };
    for (const auto& [shown, expected] : cases)
        EXPECT_EQ(WithLineFeeds(QString::fromLatin1(shown)), QString::fromLatin1(expected))
            << shown;
}

TEST(LanguageTable, ParseRejectsBrokenFiles)
{
    QString error;
    EXPECT_FALSE(LanguageTable::parse("nonsense", &error));
    EXPECT_FALSE(error.isEmpty());
    QByteArray shortTable = "id\tde\ten\tnl\tit\tfr\tes\n0\ta\tb\tc\td\te\tf\n";
    EXPECT_FALSE(LanguageTable::parse(shortTable, &error));
    const auto tableWithIdAt7 = [](int id7) {
        QByteArray table = "id\tde\ten\tnl\tit\tfr\tes\n";
        for (int id = 0; id < kTextCount; ++id)
            table += QByteArray::number(id == 7 ? id7 : id) + "\ta\\nb\tc\\\\d\t\t\t\t\n";
        return table;
    };
    EXPECT_FALSE(LanguageTable::parse(tableWithIdAt7(8), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("id 7")));
    const auto parsed = LanguageTable::parse(tableWithIdAt7(7), &error);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->text(German, 3), QStringLiteral("a\nb"));
    EXPECT_EQ(parsed->text(English, 3), QStringLiteral("c\\d"));
    EXPECT_EQ(parsed->emptyCells(Dutch).size(), kTextCount);
}

TEST(LanguageTable, CurrentLanguageStaysInRange)
{
    SetCurrentLanguage(Italian);
    EXPECT_EQ(CurrentLanguage(), Italian);
    EXPECT_EQ(LanguageText(0), QStringLiteral("Italiano"));
    SetCurrentLanguage(6);
    EXPECT_EQ(CurrentLanguage(), German);
    SetCurrentLanguage(-3);
    EXPECT_EQ(LanguageText(0), QStringLiteral("Deutsch"));
}

} // namespace
