#include "IctData.h"

#include "texts/Sprachen.h"

#include <QGroupBox>
#include <QLabel>

namespace {

QString withColon(int text)
{
    return LanguageText(text) + u':';
}

} // namespace

void SetIctDataTexts(QGroupBox* group)
{
    group->setTitle(QStringLiteral("ICT ") + withColon(36));
    const QString captions[] = {
        withColon(251),
        withColon(267),
        withColon(235),
        withColon(38),
        withColon(137),
        LanguageText(180) + QStringLiteral(" (") + LanguageText(157) + QStringLiteral(" / ") +
            LanguageText(317) + QStringLiteral("):"),
        withColon(114),
    };
    for (size_t row = 0; row < kIctDataRows.size(); ++row)
        group->findChild<QLabel*>(QString::fromLatin1(kIctDataRows[row].caption))
            ->setText(captions[row]);
}
