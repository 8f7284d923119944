#include "HelpTopics.h"

#include "platform/RunTimeFiles.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

#include <QFileInfo>

namespace {

constexpr int kNoHelpFileText = 431;

} // namespace

QString HelpFileName(int language)
{
    const bool known = language >= 0 && language < kLanguageCount;
    return QStringLiteral("Comment_%1.pdf").arg(LanguageCode(known ? language : English));
}

std::optional<QString> FindHelpFile(const QString& directory, int language)
{
    const QString own = RunTimeFile(directory, HelpFileName(language));
    if (QFileInfo(own).isFile())
        return own;
    if (language == English)
        return std::nullopt;
    const QString english = RunTimeFile(directory, HelpFileName(English));
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
