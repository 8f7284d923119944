#include "Proddatengs.h"

#include "groupunit/core/GroupUnitProductionData.h"
#include "service/CaptionedValues.h"
#include "service/IctData.h"
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

constexpr int kDataDesignWidth = 420;
constexpr int kDataCaptionWidth = 190;

constexpr CaptionedValue kFinalTestRows[] = {{"lblHW", "Label8"},
                                             {"lblSWIndexICT", "Label9"},
                                             {"lblSNr", "Label10"},
                                             {"lblArtikelNr", "Label11"}};
constexpr CaptionedValue kFirmwareRows[] = {{"lblDatum", "Label12"}, {"lblZeit", "Label13"}};

} // namespace

TfmProdDatenGS::TfmProdDatenGS(TFensterSteuerung& bus, QWidget* parent)
    : QDialog(parent), m_bus(bus)
{
    setObjectName(QStringLiteral("fmProdDatenGS"));
    auto* layout = new QVBoxLayout(this);
    const auto group = [this, layout](const char* name, std::span<const CaptionedValue> rows) {
        auto* box = new QGroupBox(this);
        box->setObjectName(QString::fromLatin1(name));
        AddCaptionedValues(box, rows);
        layout->addWidget(box);
        return box;
    };
    GB = group("GB", kIctDataRows);
    GroupBox1 = group("GroupBox1", kFinalTestRows);
    GroupBox2 = group("GroupBox2", kFirmwareRows);
    bnSchliessen = new QPushButton(this);
    bnSchliessen->setObjectName(QStringLiteral("bnSchliessen"));
    connect(bnSchliessen, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(bnSchliessen, 0, Qt::AlignRight);
    WithoutDefaultButton(*this);
    SetLanguage();
}

void TfmProdDatenGS::SetLanguage()
{
    setWindowTitle(LanguageText(178) + u' ' + LanguageText(111));
    SetIctDataTexts(GB);
    GroupBox1->setTitle(LanguageTextWithColon(65));
    GroupBox2->setTitle(LanguageTextWithColon(322));
    const std::pair<const char*, QString> captions[] = {
        {"Label8", LanguageTextWithColon(294)},  {"Label9", LanguageTextWithColon(235)},
        {"Label10", LanguageTextWithColon(218)}, {"Label11", QStringLiteral("Veltra ") + LanguageTextWithColon(14)},
        {"Label12", LanguageTextWithColon(37)},  {"Label13", LanguageTextWithColon(349)},
    };
    for (const auto& [name, text] : captions)
        findChild<QLabel*>(QString::fromLatin1(name))->setText(text);
    bnSchliessen->setText(LanguageText(207));
    // Wider in the languages with long captions; the captions take half of the extra width.
    const int extra = ProductionDataExtraWidth(CurrentLanguage());
    for (QGroupBox* box : {GB, GroupBox1, GroupBox2})
        static_cast<QGridLayout*>(box->layout())
            ->setColumnMinimumWidth(0, kDataCaptionWidth + extra / 2);
    setMinimumWidth(kDataDesignWidth + extra);
}

void TfmProdDatenGS::FormShow()
{
    show();
    raise();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (const auto& [label, text] : ReadGroupUnitProductionData(m_bus))
        findChild<QLabel*>(label)->setText(text);
    QApplication::restoreOverrideCursor();
}
