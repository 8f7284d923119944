#include "Gruppensg.h"

#include "Proddatengs.h"
#include "groupunit/core/GroupUnitMappings.h"
#include "groupunit/core/GroupUnitTexts.h"
#include "texts/DialogButtons.h"
#include "texts/Sprachen.h"
#include "texts/ToolBarButton.h"
#include "texts/UserMessages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kDesignWidth = 470;
constexpr int kCaptionWidth = 230;
// The extra width of each language, 0 German .. 5 Spanish.
constexpr int kExtraWidth[kLanguageCount] = {0, 40, 90, 60, 90, 140};

const char* const kListNames[kGroupUnitLists] = {"cbSpaltLW", "cbSpaltLZ", "cbAutoBetr",
                                                 "cbFunkX15", "cbFunkX16"};

QLabel* label(QWidget* parent, const char* name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

} // namespace

TfmGruppenSG::TfmGruppenSG(TFensterSteuerung& bus, Clock& clock, UserMessages& messages,
                           QWidget* parent)
    : QDialog(parent), m_settings(bus, clock), m_messages(messages)
{
    setObjectName(QStringLiteral("fmGruppenSG"));
    auto* layout = new QVBoxLayout(this);
    createToolBar();
    layout->addWidget(createStatusGroup());
    layout->addWidget(createSettingsGroup());
    auto* apply = new QPushButton(this);
    apply->setObjectName(QStringLiteral("bnUebernehmen"));
    connect(apply, &QPushButton::clicked, this, &TfmGruppenSG::bnUebernehmenClick);
    layout->addWidget(apply, 0, Qt::AlignRight);
    // Created after the dialog's own controls, whose names it repeats, so that looking a control
    // up by name finds the dialog's own first.
    m_productionData = std::make_unique<TfmProdDatenGS>(bus, this);
    WithoutDefaultButton(*this);
    SetLanguage();
    SetSize();
}

TfmGruppenSG::~TfmGruppenSG() = default;

void TfmGruppenSG::createToolBar()
{
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    connect(AddBackAndInfoButtons(bar, this), &QToolButton::clicked, this,
            &TfmGruppenSG::infoRequested);
    // The production data show without waiting for them.
    connect(AddToolBarButton(bar, "ToolButton4", QStyle::SP_FileDialogDetailedView),
            &QToolButton::clicked, this, [this] { m_productionData->FormShow(); });
    static_cast<QVBoxLayout*>(layout())->setMenuBar(bar);
}

QWidget* TfmGruppenSG::createStatusGroup()
{
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(group);
    const std::pair<const char*, const char*> rows[] = {{"Label4", "lblStatus"},
                                                        {"Label1", "lblAdressVergabeAnz"},
                                                        {"Label5", "lblSWflashes"},
                                                        {"Label6", "lblerkFenster"}};
    int row = 0;
    for (const auto& [caption, value] : rows) {
        grid->addWidget(label(group, caption), row, 0);
        QLabel* v = label(group, value);
        v->setText(QStringLiteral("?"));
        grid->addWidget(v, row++, 1);
    }
    grid->setColumnMinimumWidth(0, kCaptionWidth);
    return group;
}

QWidget* TfmGruppenSG::createSettingsGroup()
{
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(label(group, "Label2"), 0, 0);
    udFahrpause = new QSpinBox(group);
    udFahrpause->setObjectName(QStringLiteral("udFahrpause"));
    udFahrpause->setRange(0, 255);
    // The number field only shows the value; the arrows and the arrow keys change it.
    auto* number = udFahrpause->findChild<QLineEdit*>();
    number->setObjectName(QStringLiteral("Edit1"));
    number->setReadOnly(true);
    grid->addWidget(udFahrpause, 0, 1);
    grid->addWidget(label(group, "Label3"), 0, 2);
    const char* const captions[kGroupUnitLists] = {"Label7", "Label8", "Label11", "Label9",
                                                   "Label10"};
    for (int l = 0; l < kGroupUnitLists; ++l) {
        grid->addWidget(label(group, captions[l]), l + 1, 0);
        auto* box = new QComboBox(group);
        box->setObjectName(QString::fromLatin1(kListNames[l]));
        grid->addWidget(box, l + 1, 1, 1, 2);
    }
    grid->setColumnMinimumWidth(0, kCaptionWidth);
    QComboBox* x15 = list(InputX15);
    QComboBox* x16 = list(InputX16);
    connect(x15, &QComboBox::activated, this,
            [this, x15, x16](int index) { inputFunctionChange(x15, x16, index); });
    connect(x16, &QComboBox::activated, this,
            [this, x15, x16](int index) { inputFunctionChange(x16, x15, index); });
    return group;
}

QComboBox* TfmGruppenSG::list(GroupUnitList which) const
{
    return findChild<QComboBox*>(QString::fromLatin1(kListNames[which]));
}

void TfmGruppenSG::SetLanguage()
{
    setWindowTitle(LanguageText(111));
    findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->setTitle(LanguageText(54));
    findChild<QGroupBox*>(QStringLiteral("GroupBox2"))->setTitle(LanguageText(58));
    const std::pair<const char*, QString> captions[] = {
        {"Label4", GroupUnitValueCaption(GroupUnitValue::Status)},
        {"Label1", GroupUnitValueCaption(GroupUnitValue::AddressingRuns)},
        {"Label5", GroupUnitValueCaption(GroupUnitValue::SoftwareFlashes)},
        {"Label6", GroupUnitValueCaption(GroupUnitValue::WindowsDetected)},
        {"Label2", GroupUnitValueCaption(GroupUnitValue::DrivePause)},
        {"Label3", DrivePauseUnit()},
        {"Label7", GroupUnitListCaption(GapWidth)},
        {"Label8", GroupUnitListCaption(Interval)},
        {"Label11", GroupUnitListCaption(AutomaticTime)},
        {"Label9", GroupUnitListCaption(InputX15)},
        {"Label10", GroupUnitListCaption(InputX16)},
    };
    for (const auto& [name, text] : captions)
        findChild<QLabel*>(QString::fromLatin1(name))->setText(text);
    findChild<QToolButton*>(QStringLiteral("bnZurueck"))->setText(LanguageText(264));
    findChild<QToolButton*>(QStringLiteral("ToolButton1"))->setText(LanguageText(116));
    findChild<QToolButton*>(QStringLiteral("ToolButton4"))->setText(LanguageText(177));
    findChild<QPushButton*>(QStringLiteral("bnUebernehmen"))->setText(LanguageText(242));
    fillLists();
    m_productionData->SetLanguage();
}

void TfmGruppenSG::fillLists()
{
    // Entries are rewritten in place, so that the selections stay.
    const auto fill = [](QComboBox* box, const QStringList& entries) {
        const int selected = box->currentIndex();
        box->clear();
        box->addItems(entries);
        box->setCurrentIndex(selected < entries.size() ? selected : -1);
    };
    for (const GroupUnitList l : {GapWidth, Interval, AutomaticTime, InputX15})
        fill(list(l), GroupUnitListEntries(l, m_extended));
    rebuildX16(m_extended, true);
}

void TfmGruppenSG::rebuildX16(bool extended, bool keepSelection)
{
    QComboBox* x16 = list(InputX16);
    const int selected = keepSelection ? x16->currentIndex() : -1;
    const QStringList entries = GroupUnitListEntries(InputX16, extended);
    x16->clear();
    x16->addItems(entries);
    x16->setCurrentIndex(selected < entries.size() ? selected : -1);
}

void TfmGruppenSG::SetSize()
{
    const int language = CurrentLanguage();
    const int extra = language >= 0 && language < kLanguageCount ? kExtraWidth[language] : 0;
    for (const char* name : {"GroupBox1", "GroupBox2"})
        static_cast<QGridLayout*>(findChild<QGroupBox*>(QString::fromLatin1(name))->layout())
            ->setColumnMinimumWidth(0, kCaptionWidth + extra);
    setMinimumWidth(kDesignWidth + extra);
}

bool TfmGruppenSG::FormShow()
{
    const GroupUnitReading reading = m_settings.read();
    apply(reading);
    if (reading.complete)
        return true;
    m_messages.error(LanguageText(348));
    return false;
}

void TfmGruppenSG::apply(const GroupUnitReading& reading)
{
    const std::pair<const char*, QString> texts[] = {
        {"lblStatus", reading.status},
        {"lblAdressVergabeAnz", reading.addressingRuns},
        {"lblSWflashes", reading.softwareFlashes},
        {"lblerkFenster", reading.windowsDetected}};
    for (const auto& [name, text] : texts)
        findChild<QLabel*>(QString::fromLatin1(name))->setText(text);
    if (reading.drivePause)
        udFahrpause->setValue(*reading.drivePause);
    m_extended = reading.extendedNumbering;
    // Cleared at every opening: an input that is not configurable shows no earlier choice.
    rebuildX16(m_extended, false);
    for (int l = 0; l < kGroupUnitLists; ++l) {
        QComboBox* box = list(GroupUnitList(l));
        box->setEnabled(reading.enabled[l]);
        if (reading.index[l])
            box->setCurrentIndex(*reading.index[l]);
    }
}

void TfmGruppenSG::inputFunctionChange(QComboBox* changed, QComboBox* other, int index)
{
    if (ResetsToFirstEntry(index, other->currentIndex()))
        changed->setCurrentIndex(0);
}

void TfmGruppenSG::bnUebernehmenClick()
{
    GroupUnitChoice choice;
    choice.drivePause = udFahrpause->value();
    for (int l = 0; l < kGroupUnitLists; ++l) {
        const QComboBox* box = list(GroupUnitList(l));
        choice.index[l] = box->currentIndex();
        choice.enabled[l] = box->isEnabled();
    }
    m_settings.apply(choice, *this);
}
