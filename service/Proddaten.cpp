#include "Proddaten.h"

#include "CaptionedValues.h"
#include "IctData.h"
#include "service/core/ProductionData.h"
#include "texts/DialogButtons.h"
#include "texts/Sprachen.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kDesignWidth = 420;
constexpr int kCaptionWidth = 190;

constexpr CaptionedValue kFinalTestRows[] = {
    {"lblArtikelNr", "Label8"}, {"lblSNr", "Label9"}, {"lblHW", "Label10"}, {"lblSW1", "Label11"}};

} // namespace

TfmProdDaten::TfmProdDaten(TFensterSteuerung& bus, QWidget* parent) : QDialog(parent), m_bus(bus)
{
    setObjectName(QStringLiteral("fmProdDaten"));
    auto* layout = new QVBoxLayout(this);
    GB = new QGroupBox(this);
    GB->setObjectName(QStringLiteral("GB"));
    AddCaptionedValues(GB, kIctDataRows);
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    AddCaptionedValues(GroupBox1, kFinalTestRows);
    layout->addWidget(GB);
    layout->addWidget(GroupBox1);
    bnSchliessen = new QPushButton(this);
    bnSchliessen->setObjectName(QStringLiteral("bnSchliessen"));
    connect(bnSchliessen, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(bnSchliessen, 0, Qt::AlignRight);
    WithoutDefaultButton(*this);
    SetLanguage();
}

void TfmProdDaten::SetLanguage()
{
    setWindowTitle(LanguageText(178));
    SetIctDataTexts(GB);
    GroupBox1->setTitle(LanguageTextWithColon(65));
    for (const CaptionedValue& row : kFinalTestRows)
        findChild<QLabel*>(QString::fromLatin1(row.caption))->setText(FinalTestCaption(row.value));
    bnSchliessen->setText(LanguageText(207));
    // Wider in the languages with long captions; the captions take half of the extra width.
    const int extra = ProductionDataExtraWidth(CurrentLanguage());
    for (QGroupBox* group : {GB, GroupBox1})
        static_cast<QGridLayout*>(group->layout())
            ->setColumnMinimumWidth(0, kCaptionWidth + extra / 2);
    setMinimumWidth(kDesignWidth + extra);
}

void TfmProdDaten::showFor(const QString& addressText)
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    show();
    FormShow(addressText);
}

void TfmProdDaten::FormShow(const QString& addressText)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setWindowTitle(QStringLiteral("Produktionsdaten Fenestrix Adresse ") + addressText);
    for (const auto& [label, text] : ReadProductionData(m_bus))
        findChild<QLabel*>(label)->setText(text);
    QApplication::restoreOverrideCursor();
}
