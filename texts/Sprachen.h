// The language table: 573 texts in six languages, compiled into the program,
// and the current language that every lookup uses.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

constexpr int kLanguageCount = 6;
constexpr int kTextCount = 573;

// Texts after the first 445 (ids 0..444).
// Plural of text 76 "Fenster", for counts other than 1.
constexpr int kTextWindowsPlural = 445;
// A serial device without access rights: %1 COM number, %2 device path, %3 its group.
constexpr int kTextNoPortPermission = 446;
// The serial adapter was removed or stopped answering.
constexpr int kTextConnectionLost = 447;
// The bus monitor's texts, 448 to 481.
constexpr int kTextBusMonitor = 448;
// The settings backup's texts, 482 to 520.
constexpr int kTextBackup = 482;
// The commissioning report's texts, 521 to 538.
constexpr int kTextReport = 521;
// The controller trend's and the recording's texts, 539 to 559.
constexpr int kTextTrend = 539;
// The network gateway's texts, 560 to 572.
constexpr int kTextNetwork = 560;

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
// Text `id` followed by ":", as field labels show it.
[[nodiscard]] QString LanguageTextWithColon(int id);
[[nodiscard]] int CurrentLanguage();
// Takes a language number; anything outside 0..5 falls back to German.
void SetCurrentLanguage(int language);
// Two-letter code of a language ("de" ... "es"); German's for a number outside 0..5.
[[nodiscard]] QLatin1StringView LanguageCode(int language);

// `text` with its line breaks as Qt shows them in a multi-line label: a lone CR and CR LF
// become LF.
[[nodiscard]] QString WithLineFeeds(QString text);
