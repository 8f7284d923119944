#include "Led.h"

#include "texts/DialogButtons.h"
#include "texts/Sprachen.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tfm_ledstatus::Tfm_ledstatus(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fm_ledstatus"));
    setWindowTitle(LanguageText(135));
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(LanguageText(135), this);
    caption->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(caption);
    cbLed = new QComboBox(this);
    cbLed->setObjectName(QStringLiteral("cbLed"));
    // The box accepts typed text, which never becomes an entry.
    cbLed->setEditable(true);
    cbLed->setInsertPolicy(QComboBox::NoInsert);
    cbLed->addItems({LanguageText(18), LanguageText(56), LanguageText(105)});
    // Empty until the controller's state is known: an unread state is not shown as "off".
    cbLed->setCurrentIndex(-1);
    caption->setBuddy(cbLed);
    layout->addWidget(cbLed);
    auto* buttons = new QHBoxLayout;
    auto* apply = new QPushButton(LanguageText(242), this);
    apply->setObjectName(QStringLiteral("Button1"));
    connect(apply, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(LanguageText(2), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(apply);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    WithoutDefaultButton(*this);
    setMinimumWidth(260);
}

void Tfm_ledstatus::select(int position)
{
    cbLed->setCurrentIndex(position >= 0 && position < cbLed->count() ? position : -1);
}

int Tfm_ledstatus::selectedPosition() const
{
    const int index = cbLed->currentIndex();
    if (index < 0 || cbLed->currentText() != cbLed->itemText(index))
        return -1;
    return index;
}
