// The language table: 445 texts in six languages, compiled into the program,
// and the current language that every lookup uses.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

constexpr int kLanguageCount = 6;
constexpr int kTextCount = 445;

enum Language { German = 0, English = 1, Dutch = 2, Italian = 3, French = 4, Spanish = 5 };

class LanguageTable {
public:
    // Parses the table file (UTF-8, tab-separated, escapes \n \r \\); on failure says why.
    [[nodiscard]] static std::optional<LanguageTable> parse(const QByteArray& tsv, QString* error);
    // The table compiled into the program.
    [[nodiscard]] static const LanguageTable& builtIn();

    [[nodiscard]] QString text(int language, int id) const;
    // Ids whose text in `language` is empty.
    [[nodiscard]] QList<int> emptyCells(int language) const;

private:
    QStringList m_entries; // language-major: language * kTextCount + id
};

// Text `id` in the current language.
[[nodiscard]] QString LanguageText(int id);
[[nodiscard]] int CurrentLanguage();
// Takes a language number; anything outside 0..5 falls back to German.
void SetCurrentLanguage(int language);
