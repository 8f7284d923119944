#include "Vergleich.h"

#include "service/ReadOnlyGrid.h"
#include "service/core/Tools01.h"
#include "texts/BackupText.h"
#include "texts/DialogButtons.h"
#include "texts/Sprachen.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { ColAddress, ColDescription, ColSaved, ColNow, ColDifference, kColumns };
constexpr int kBackText = 264;

} // namespace

TfmVergleich::TfmVergleich(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fmVergleich"));
    auto* layout = new QVBoxLayout(this);
    lblSicherung = new QLabel(this);
    lblSicherung->setObjectName(QStringLiteral("lblSicherung"));
    layout->addWidget(lblSicherung);
    sgVergleich = ReadOnlyGrid("sgVergleich", 0, kColumns, this);
    sgVergleich->horizontalHeader()->setStretchLastSection(false);
    sgVergleich->horizontalHeader()->setSectionResizeMode(ColDescription, QHeaderView::Stretch);
    layout->addWidget(sgVergleich, 1);
    auto* bottom = new QHBoxLayout;
    lblUnterschiede = new QLabel(this);
    lblUnterschiede->setObjectName(QStringLiteral("lblUnterschiede"));
    bottom->addWidget(lblUnterschiede, 1);
    auto* back = new QPushButton(this);
    back->setObjectName(QStringLiteral("bnZurueck"));
    back->setText(LanguageText(kBackText));
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(back);
    layout->addLayout(bottom);
    WithoutDefaultButton(*this);
    resize(900, 520);
}

void TfmVergleich::SetLanguage()
{
    setWindowTitle(BackupLanguageText(BackupText::CompareTitle));
    sgVergleich->setHorizontalHeaderLabels(
        {BackupLanguageText(BackupText::Address), BackupLanguageText(BackupText::Description),
         BackupLanguageText(BackupText::SavedValue), BackupLanguageText(BackupText::ValueNow),
         BackupLanguageText(BackupText::Difference)});
}

void TfmVergleich::showDifferences(const QDateTime& savedAt, const ControllerIdentity& saved,
                                   const QList<ByteDifference>& differences)
{
    SetLanguage();
    lblSicherung->setText(BackupLanguageText(BackupText::BackupOf)
                              .arg(savedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm")))
                              .arg(saved.busAddress)
                              .arg(saved.serialNumber));
    sgVergleich->setRowCount(int(differences.size()));
    for (int row = 0; row < differences.size(); ++row) {
        const ByteDifference& difference = differences[row];
        const QString kind = BackupLanguageText(
            difference.otherController ? BackupText::OtherController : BackupText::Changed);
        const QStringList cells = {HexText(difference.address, 2), difference.description,
                                   difference.saved, difference.now, kind};
        for (int column = 0; column < kColumns; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            // A long description is cut in its column; the tip shows it whole.
            item->setToolTip(cells[column]);
            sgVergleich->setItem(row, column, item);
        }
    }
    for (const int column : {ColAddress, ColSaved, ColNow, ColDifference})
        sgVergleich->resizeColumnToContents(column);
    lblUnterschiede->setText(
        differences.isEmpty()
            ? BackupLanguageText(BackupText::NoDifferences)
            : BackupLanguageText(BackupText::Differences).arg(differences.size()));
}
