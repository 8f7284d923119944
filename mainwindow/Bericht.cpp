#include "Bericht.h"

#include "texts/ReportText.h"
#include "texts/Sprachen.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>

namespace {

constexpr int kSiteText = 317;
constexpr int kEditWidth = 320;
const QString kSiteKey = QStringLiteral("site");
const QString kTechnicianKey = QStringLiteral("technician");

} // namespace

TfmBericht::TfmBericht(QWidget* parent)
    : QDialog(parent), lblStandort(new QLabel(this)), edStandort(new QLineEdit(this)),
      lblTechniker(new QLabel(this)), edTechniker(new QLineEdit(this)),
      bnButtons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("fmBericht"));
    edStandort->setObjectName(QStringLiteral("edStandort"));
    edTechniker->setObjectName(QStringLiteral("edTechniker"));
    edStandort->setMinimumWidth(kEditWidth);
    lblStandort->setBuddy(edStandort);
    lblTechniker->setBuddy(edTechniker);
    auto* layout = new QFormLayout(this);
    layout->addRow(lblStandort, edStandort);
    layout->addRow(lblTechniker, edTechniker);
    layout->addRow(bnButtons);
    connect(bnButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(bnButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    SetLanguage();
}

void TfmBericht::SetLanguage()
{
    setWindowTitle(ReportLanguageText(ReportText::Report));
    lblStandort->setText(LanguageText(kSiteText) + u':');
    lblTechniker->setText(ReportLanguageText(ReportText::Technician) + u':');
}

bool TfmBericht::ask(const QString& storePath)
{
    QSettings store(storePath, QSettings::IniFormat);
    edStandort->setText(store.value(kSiteKey).toString());
    edTechniker->setText(store.value(kTechnicianKey).toString());
    edStandort->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    store.setValue(kSiteKey, site());
    store.setValue(kTechnicianKey, technician());
    store.sync();
    return true;
}

QString TfmBericht::site() const
{
    return edStandort->text().trimmed();
}

QString TfmBericht::technician() const
{
    return edTechniker->text().trimmed();
}
