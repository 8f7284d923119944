// The help topics: which manual opens for which language and which files, and the message when
// there is none.
#include "RecordedMessages.h"
#include "mainwindow/core/HelpTopics.h"
#include "texts/Sprachen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct HelpCase {
    const char* name;
    int language;
    QStringList present;
    QString opened; // empty: text 431
};

TEST(HelpTopics, SearchOrder)
{
    const HelpCase cases[] = {
        {"own language first", German, {"Comment_de.pdf", "Comment_en.pdf"}, "Comment_de.pdf"},
        {"own language alone", Spanish, {"Comment_es.pdf"}, "Comment_es.pdf"},
        {"English stands in", French, {"Comment_en.pdf", "Comment_de.pdf"}, "Comment_en.pdf"},
        {"English manual for English", English, {"Comment_en.pdf"}, "Comment_en.pdf"},
        {"English missing for English", English, {"Comment_de.pdf"}, ""},
        {"nothing there", Dutch, {}, ""},
        {"only other languages", Italian, {"Comment_de.pdf", "Comment_nl.pdf"}, ""},
        {"a folder is no manual", German, {"Comment_de.pdf/"}, ""},
    };
    for (const HelpCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        for (const QString& name : c.present) {
            if (name.endsWith(u'/')) {
                ASSERT_TRUE(QDir(dir.path()).mkdir(name.chopped(1)));
                continue;
            }
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        SetCurrentLanguage(c.language);
        RecordedMessages messages;
        QStringList opened;
        mnHilfethemenClick(dir.path(), c.language, messages,
                           [&opened](const QString& path) { opened << path; });
        if (c.opened.isEmpty()) {
            EXPECT_TRUE(opened.isEmpty());
            EXPECT_EQ(messages.shown, QStringList{QStringLiteral("error: ") + LanguageText(431)});
        } else {
            EXPECT_EQ(opened, QStringList{dir.filePath(c.opened)});
            EXPECT_TRUE(messages.shown.isEmpty());
        }
    }
}

TEST(HelpTopics, MessageWhenNoManualIsFoundInGerman)
{
    QTemporaryDir dir;
    SetCurrentLanguage(German);
    RecordedMessages messages;
    mnHilfethemenClick(dir.path(), German, messages, [](const QString&) {});
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("error: Keine Hilfe-Datei gefunden!")});
}

TEST(HelpTopics, FileNamesOfTheSixLanguages)
{
    QStringList names;
    for (int language = German; language <= Spanish; ++language)
        names << HelpFileName(language);
    EXPECT_EQ(names, (QStringList{"Comment_de.pdf", "Comment_en.pdf", "Comment_nl.pdf",
                                  "Comment_it.pdf", "Comment_fr.pdf", "Comment_es.pdf"}));
}

} // namespace
