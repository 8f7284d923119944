#include "Liste.h"

#include "ReadOnlyGrid.h"
#include "buslink/ParameterTable.h"
#include "texts/DialogButtons.h"
#include "texts/Sprachen.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kStatusListColumns = 3;

} // namespace

TfmListe::TfmListe(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fmListe"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* groupLayout = new QVBoxLayout(group);
    lblAdresse = new QLabel(group);
    lblAdresse->setObjectName(QStringLiteral("lblAdresse"));
    groupLayout->addWidget(lblAdresse);
    // One row an entry and an empty last row.
    sgListe = ReadOnlyGrid("sgListe", kParameterCount + 1, kStatusListColumns, group);
    sgListe->setColumnWidth(0, 40);
    sgListe->setColumnWidth(1, 260);
    for (int row = 0; row < kParameterCount; ++row)
        sgListe->item(row, 0)->setText(QString::number(row));
    groupLayout->addWidget(sgListe);
    layout->addWidget(group, 1);
    bnAktualisieren = new QPushButton(this);
    bnAktualisieren->setObjectName(QStringLiteral("bnAktualisieren"));
    connect(bnAktualisieren, &QPushButton::clicked, this, &TfmListe::fillRequested);
    layout->addWidget(bnAktualisieren, 0, Qt::AlignRight);
    WithoutDefaultButton(*this);
    resize(460, 620);
    SetLanguage();
    lblAdresse->setText(LanguageText(237));
}

void TfmListe::SetLanguage()
{
    setWindowTitle(LanguageText(226));
    findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->setTitle(LanguageText(231));
    sgListe->setHorizontalHeaderLabels({LanguageText(157), LanguageText(60), LanguageText(258)});
    bnAktualisieren->setText(LanguageText(8));
}

void TfmListe::beginFill(const QString& addressText)
{
    show();
    bnAktualisieren->setEnabled(false);
    lblAdresse->setText(LanguageText(237) + u' ' + addressText);
}

void TfmListe::showEntry(int index, const QString& name, const QString& value)
{
    sgListe->item(index, 1)->setText(name);
    sgListe->item(index, 2)->setText(value);
}

void TfmListe::endFill()
{
    bnAktualisieren->setEnabled(true);
}
