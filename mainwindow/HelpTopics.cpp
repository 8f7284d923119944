#include "HelpTopics.h"

#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <array>

namespace {

constexpr int kNoHelpFileText = 431;
constexpr std::array<const char*, kLanguageCount> kLanguageCodes{"de", "en", "nl",
                                                                 "it", "fr", "es"};

} // namespace

void OpenWithDesktop(const QString& path)
{
    (void)QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString HelpFileName(int language)
{
    const auto index =
        static_cast<size_t>(language >= 0 && language < kLanguageCount ? language : English);
    return QStringLiteral("Comment_%1.pdf").arg(QLatin1String(kLanguageCodes[index]));
}

std::optional<QString> FindHelpFile(const QString& directory, int language)
{
    const QDir dir(directory);
    const QString own = dir.filePath(HelpFileName(language));
    if (QFileInfo(own).isFile())
        return own;
    if (language == English)
        return std::nullopt;
    const QString english = dir.filePath(HelpFileName(English));
    if (QFileInfo(english).isFile())
        return english;
    return std::nullopt;
}

void mnHilfethemenClick(const QString& directory, int language, UserMessages& messages,
                        const DocumentOpener& open)
{
    if (const auto file = FindHelpFile(directory, language))
        open(*file);
    else
        messages.error(LanguageText(kNoHelpFileText));
}
