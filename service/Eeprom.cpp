#include "Eeprom.h"

#include "BackupFileDialog.h"
#include "ReadOnlyGrid.h"
#include "buslink/Veltradt.h"
#include "controller/core/BackupRead.h"
#include "service/core/Tools01.h"
#include "texts/BackupText.h"
#include "texts/DialogButtons.h"
#include "texts/NamedWidget.h"
#include "texts/Fortschritt.h"
#include "texts/Sprachen.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <functional>

namespace {

constexpr int kEepromColumns = 3;

} // namespace

TfmEeprom::TfmEeprom(TFensterSteuerung& bus, Clock& clock, UserMessages& messages, QWidget* parent)
    : QDialog(parent), m_bus(bus), m_pages(bus, clock), m_messages(messages),
      m_progress(std::make_unique<TfmFortschritt>(this))
{
    setObjectName(QStringLiteral("fmEeprom"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* groupLayout = new QVBoxLayout(group);
    cbSeite = new QComboBox(group);
    cbSeite->setObjectName(QStringLiteral("cbSeite"));
    // The same names in every language.
    cbSeite->addItems({QStringLiteral("EEPROM Seite0 (Adr 0-63)"),
                       QStringLiteral("EEPROM Seite1 (Adr 64-127)"),
                       QStringLiteral("EEPROM Seite2 (Adr 128-191)"),
                       QStringLiteral("EEPROM Seite3 (Adr 192-255)")});
    groupLayout->addWidget(cbSeite);
    sgTabelle = ReadOnlyGrid("sgTabelle", kEepromPageSize, kEepromColumns, group);
    sgTabelle->setColumnWidth(0, 70);
    sgTabelle->setColumnWidth(1, 70);
    groupLayout->addWidget(sgTabelle);
    layout->addWidget(group, 1);

    auto* buttons = new QHBoxLayout;
    bnLesen = NamedWidget<QPushButton>(this, "bnLesen");
    bnSichern = NamedWidget<QPushButton>(this, "bnSichern");
    bnUebernehmen = NamedWidget<QPushButton>(this, "bnUebernehmen");
    bnAbbrechen = NamedWidget<QPushButton>(this, "bnAbbrechen");
    bnZurueck = NamedWidget<QPushButton>(this, "bnZurueck");
    bnZurueck->hide();
    buttons->addWidget(bnLesen);
    buttons->addWidget(bnSichern);
    buttons->addStretch(1);
    buttons->addWidget(bnUebernehmen);
    buttons->addWidget(bnAbbrechen);
    layout->addLayout(buttons);
    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    m_checksum = new QLabel(status);
    m_checksum->setObjectName(QStringLiteral("StatusBar1.0"));
    status->addWidget(m_checksum, 1);
    layout->addWidget(status);

    connect(cbSeite, &QComboBox::activated, this, &TfmEeprom::cbSeiteChange);
    connect(bnLesen, &QPushButton::clicked, this, &TfmEeprom::bnLesenClick);
    connect(bnUebernehmen, &QPushButton::clicked, this, &TfmEeprom::bnUebernehmenClick);
    connect(bnSichern, &QPushButton::clicked, this, [this] {
        const QString path = ChooseBackupFile(this, BackupText::Save, BackupFileUse::Save);
        if (!path.isEmpty())
            saveBackupTo(path);
    });
    connect(bnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    WithoutDefaultButton(*this);
    resize(640, 620);
    SetLanguage();
}

TfmEeprom::~TfmEeprom() = default;

void TfmEeprom::SetLanguage()
{
    setWindowTitle(LanguageText(50));
    findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->setTitle(LanguageText(50));
    sgTabelle->setHorizontalHeaderLabels({LanguageText(4), LanguageText(117), LanguageText(26)});
    bnLesen->setText(LanguageText(152));
    bnSichern->setText(BackupLanguageText(BackupText::Save));
    bnUebernehmen->setText(LanguageText(242));
    bnAbbrechen->setText(LanguageText(2));
    bnZurueck->setText(LanguageText(264));
    m_progress->SetLangage();
}

void TfmEeprom::FormShow(int variantByte, int controllerType, const QString& programDirectory)
{
    const int page = cbSeite->currentIndex();
    showPage(
        busy([&] { return m_pages.open(page, variantByte, controllerType, programDirectory); }));
}

EepromPageView TfmEeprom::busy(const std::function<EepromPageView()>& read)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    EepromPageView view = read();
    QApplication::restoreOverrideCursor();
    return view;
}

void TfmEeprom::cbSeiteChange(int page)
{
    showPage(busy([&] { return m_pages.show(page); }));
    sgTabelle->setFocus();
}

void TfmEeprom::bnLesenClick()
{
    showPage(busy([this] { return m_pages.read(cbSeite->currentIndex()); }));
}

void TfmEeprom::showPage(const EepromPageView& view)
{
    for (int row = 0; row < kEepromPageSize; ++row) {
        sgTabelle->item(row, 0)->setText(HexText(view.page * kEepromPageSize + row, 2));
        const std::optional<int> value = view.values.value(row);
        sgTabelle->item(row, 1)->setText(value ? HexText(*value, 2) : QStringLiteral("?"));
        if (view.descriptions)
            sgTabelle->item(row, 2)->setText(view.descriptions->value(row));
    }
    m_checksum->setText(view.checksumLine);
}

void TfmEeprom::bnUebernehmenClick()
{
    // No re-read or second write-back inside this one.
    setWriting(true);
    const WriteBackOutcome outcome = m_pages.writeBack(*this);
    setWriting(false);
    if (outcome == WriteBackOutcome::Written)
        accept();
}

void TfmEeprom::saveBackupTo(const QString& path)
{
    setWriting(true);
    (void)BackupRead(m_bus, *this).save({m_bus.GetWindowAddress()}, path);
    setWriting(false);
}

void TfmEeprom::setWriting(bool writing)
{
    m_writing = writing;
    for (QWidget* control : {static_cast<QWidget*>(cbSeite), static_cast<QWidget*>(bnLesen),
                             static_cast<QWidget*>(bnSichern), static_cast<QWidget*>(bnUebernehmen),
                             static_cast<QWidget*>(bnAbbrechen)})
        control->setEnabled(!writing);
}

void TfmEeprom::done(int result)
{
    if (!m_writing)
        QDialog::done(result);
}

void TfmEeprom::processEvents()
{
    QApplication::processEvents();
}

ProgressReporter& TfmEeprom::progress()
{
    return *m_progress;
}

UserMessages& TfmEeprom::messages()
{
    return m_messages;
}
