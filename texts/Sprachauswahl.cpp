#include "Sprachauswahl.h"

#include "Sprachen.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

Tfm_sprachauswahl::Tfm_sprachauswahl(QWidget* parent)
    : QDialog(parent), GroupBox1(new QGroupBox(this)), ComboBox1(new QComboBox(GroupBox1)),
      Button1(new QPushButton(this)), Button2(new QPushButton(this))
{
    setObjectName(QStringLiteral("fm_sprachauswahl"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));

    // Not translated: each language keeps the German name it has in this list.
    ComboBox1->addItems({QStringLiteral("Deutsch"), QStringLiteral("Englisch"),
                         QStringLiteral("Niederländisch"), QStringLiteral("Italienisch"),
                         QStringLiteral("Französisch"), QStringLiteral("Spanisch")});
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMinimumWidth(220);
    Button1->setDefault(true);

    auto* box = new QVBoxLayout(GroupBox1);
    box->addWidget(ComboBox1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    SetLanguage();
}

void Tfm_sprachauswahl::selectLanguage(int language)
{
    m_preselected = std::clamp(language, 0, kLanguageCount - 1);
    ComboBox1->setCurrentIndex(m_preselected);
}

int Tfm_sprachauswahl::chosenLanguage() const
{
    const int typed = ComboBox1->findText(ComboBox1->currentText(), Qt::MatchFixedString);
    return typed >= 0 ? typed : m_preselected;
}

void Tfm_sprachauswahl::SetLanguage()
{
    setWindowTitle(LanguageText(222));
    GroupBox1->setTitle(LanguageText(316));
    Button1->setText(LanguageText(242));
    Button2->setText(LanguageText(2));
}
