#include "IctData.h"

#include "texts/Sprachen.h"

#include <QGroupBox>
#include <QLabel>

void SetIctDataTexts(QGroupBox* group)
{
    group->setTitle(QStringLiteral("ICT ") + LanguageTextWithColon(36));
    const QString captions[] = {
        LanguageTextWithColon(251),
        LanguageTextWithColon(267),
        LanguageTextWithColon(235),
        LanguageTextWithColon(38),
        LanguageTextWithColon(137),
        LanguageText(180) + QStringLiteral(" (") + LanguageText(157) + QStringLiteral(" / ") +
            LanguageText(317) + QStringLiteral("):"),
        LanguageTextWithColon(114),
    };
    for (size_t row = 0; row < kIctDataRows.size(); ++row)
        group->findChild<QLabel*>(QString::fromLatin1(kIctDataRows[row].caption))
            ->setText(captions[row]);
}
