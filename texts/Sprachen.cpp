#include "Sprachen.h"

#include <QFile>

#include <array>

namespace {

int g_currentLanguage = German;

QString unescape(QStringView cell)
{
    QString out;
    out.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (cell[i] == u'\\' && i + 1 < cell.size()) {
            const QChar next = cell[++i];
            out += next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next;
        } else {
            out += cell[i];
        }
    }
    return out;
}

} // namespace

std::optional<LanguageTable> LanguageTable::parse(const QByteArray& tsv, QString* error)
{
    auto fail = [error](const QString& why) -> std::optional<LanguageTable> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QStringList lines = QString::fromUtf8(tsv).split(u'\n');
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines.first() != QStringLiteral("id\tde\ten\tnl\tit\tfr\tes"))
        return fail(QStringLiteral("header line missing or wrong"));
    if (lines.size() != kTextCount + 1)
        return fail(
            QStringLiteral("%1 text lines instead of %2").arg(lines.size() - 1).arg(kTextCount));

    LanguageTable table;
    table.m_entries.resize(kLanguageCount * kTextCount);
    for (int id = 0; id < kTextCount; ++id) {
        const QStringList cells = lines[id + 1].split(u'\t');
        if (cells.size() != kLanguageCount + 1)
            return fail(QStringLiteral("line of id %1 has %2 cells").arg(id).arg(cells.size()));
        if (cells[0] != QString::number(id))
            return fail(QStringLiteral("id %1 expected, found '%2'").arg(id).arg(cells[0]));
        for (int language = 0; language < kLanguageCount; ++language)
            table.m_entries[language * kTextCount + id] = unescape(cells[language + 1]);
    }
    return table;
}

const LanguageTable& LanguageTable::builtIn()
{
    static const LanguageTable table = [] {
        QFile file(QStringLiteral(":/texts/languages.tsv"));
        QString error;
        std::optional<LanguageTable> parsed;
        if (file.open(QIODevice::ReadOnly))
            parsed = parse(file.readAll(), &error);
        else
            error = file.errorString();
        if (!parsed)
            qFatal("language table unusable: %s", qPrintable(error));
        return *parsed;
    }();
    return table;
}

QString LanguageTable::text(int language, int id) const
{
    if (language < 0 || language >= kLanguageCount || id < 0 || id >= kTextCount)
        return {};
    return m_entries[language * kTextCount + id];
}

QList<int> LanguageTable::emptyCells(int language) const
{
    QList<int> ids;
    for (int id = 0; id < kTextCount; ++id) {
        if (text(language, id).isEmpty())
            ids.append(id);
    }
    return ids;
}

QString LanguageText(int id)
{
    return LanguageTable::builtIn().text(g_currentLanguage, id);
}

QString LanguageTextWithColon(int id)
{
    return LanguageText(id) + u':';
}

int CurrentLanguage()
{
    return g_currentLanguage;
}

void SetCurrentLanguage(int language)
{
    g_currentLanguage = language >= 0 && language < kLanguageCount ? language : German;
}

QLatin1StringView LanguageCode(int language)
{
    static constexpr std::array<QLatin1StringView, kLanguageCount> codes{
        QLatin1StringView("de"), QLatin1StringView("en"), QLatin1StringView("nl"),
        QLatin1StringView("it"), QLatin1StringView("fr"), QLatin1StringView("es")};
    return codes[static_cast<size_t>(language >= 0 && language < kLanguageCount ? language
                                                                                : German)];
}

QString WithLineFeeds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}
