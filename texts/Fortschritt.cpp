#include "Fortschritt.h"

#include "BackupText.h"
#include "DialogButtons.h"
#include "Sprachen.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

struct KindLayout {
    QString label;
    int maximum;
    bool cancellable;
};

KindLayout LayoutOf(int kind, int maximum)
{
    switch (kind) {
    case ProgressReporter::BusScan:
        return {LanguageText(93), 31, true};
    case ProgressReporter::EepromWrite:
        return {LanguageText(278), 256, true};
    case ProgressReporter::BackupRead:
        return {BackupLanguageText(BackupText::Reading), maximum, true};
    case ProgressReporter::EmergencyAddressing:
        return {LanguageText(32), 31, true};
    // Fixed German in every language.
    case ProgressReporter::Readdressing:
        return {QStringLiteral("Busadressen werden sortiert, bitte warten..."), 2 * maximum, false};
    default:
        return {LanguageText(275), maximum, true};
    }
}

} // namespace

TfmFortschritt::TfmFortschritt(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      lblBeschriftung(new QLabel(this)), ProgressBar(new QProgressBar(this)),
      bnAbbrechen(new QPushButton(this))
{
    setObjectName(QStringLiteral("fmFortschritt"));
    lblBeschriftung->setObjectName(QStringLiteral("lblBeschriftung"));
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    bnAbbrechen->setObjectName(QStringLiteral("bnAbbrechen"));
    setModal(false);
    ProgressBar->setMinimumWidth(320);
    ProgressBar->setTextVisible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bnAbbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblBeschriftung);
    layout->addWidget(ProgressBar);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(bnAbbrechen, &QPushButton::clicked, this, &TfmFortschritt::bnAbbrechenClick);
    WithoutDefaultButton(*this);
    SetLangage();
}

void TfmFortschritt::PrepareProgress(int kind, int maximum)
{
    const KindLayout look = LayoutOf(kind, maximum);
    lblBeschriftung->setText(look.label);
    // A range of 0..0 would make Qt show its animated busy bar instead of an empty one.
    ProgressBar->setRange(0, std::max(1, look.maximum));
    ProgressBar->setValue(0);
    bnAbbrechen->setVisible(look.cancellable);
    m_aborted = false;
}

void TfmFortschritt::showProgress()
{
    show();
    raise();
}

void TfmFortschritt::setPosition(int position)
{
    ProgressBar->setValue(position);
}

void TfmFortschritt::closeProgress()
{
    hide();
}

void TfmFortschritt::SetLangage()
{
    setWindowTitle(LanguageText(102));
    lblBeschriftung->setText(LanguageText(266) + QStringLiteral("..."));
    bnAbbrechen->setText(LanguageText(2));
}

void TfmFortschritt::bnAbbrechenClick()
{
    m_aborted = true;
}

void TfmFortschritt::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (!bnAbbrechen->isHidden())
        bnAbbrechenClick();
}

void TfmFortschritt::closeEvent(QCloseEvent* event)
{
    if (!event->spontaneous()) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    if (!bnAbbrechen->isHidden())
        bnAbbrechenClick();
}
