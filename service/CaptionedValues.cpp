#include "CaptionedValues.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

void AddCaptionedValues(QGroupBox* group, std::span<const CaptionedValue> rows)
{
    auto* grid = new QGridLayout(group);
    for (const CaptionedValue& row : rows) {
        auto* caption = new QLabel(group);
        caption->setObjectName(QString::fromLatin1(row.caption));
        auto* value = new QLabel(group);
        value->setObjectName(QString::fromLatin1(row.value));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        caption->setBuddy(value);
        const int line = grid->rowCount();
        grid->addWidget(caption, line, 0);
        grid->addWidget(value, line, 1);
    }
}
