#include "ReportSections.h"

#include "controller/core/BackupRead.h"
#include "controller/core/BackupSettings.h"
#include "controller/core/ControllerLayout.h"
#include "controller/core/SettingBytes.h"
#include "groupunit/core/GroupUnitTexts.h"
#include "service/core/ProductionData.h"
#include "texts/ReportText.h"
#include "texts/Sprachen.h"

#include <QLocale>

namespace {

constexpr int kSiteText = 317;
constexpr int kVersionText = 254;
constexpr int kPortText = 219;
constexpr int kAddressTitleText = 237;
constexpr int kGroupUnitText = 111;
constexpr int kStateHeading = 424;
constexpr int kEventsHeading = 70;
constexpr int kSettingsHeading = 58;
constexpr int kCountersHeading = 442;
constexpr int kUnitValuesHeading = 54;
constexpr int kWindowStateText = 96;
constexpr int kPositionText = 399;
constexpr int kNotConfigurableText = 150;
// A choice that selects no entry of its list, as an empty box shows it.
const QString kNoEntry = QStringLiteral("–");
const QString kPafSlave = QStringLiteral("PAF-Slave: ");

QString withoutColon(QString caption)
{
    caption = caption.trimmed();
    if (caption.endsWith(u':'))
        caption.chop(1);
    return caption.trimmed();
}

QString entryOr(const QStringList& entries, std::optional<int> index, const QString& unit = {})
{
    if (!index)
        return kUnreadValue;
    if (*index < 0 || *index >= entries.size())
        return kNoEntry;
    return unit.isEmpty() ? entries[*index] : entries[*index] + u' ' + unit;
}

// The controller window as it stands after the reading: its captions, then what the opening and
// the refresh changed.
class WindowAfterReading {
public:
    explicit WindowAfterReading(const ControllerView& refreshed) : m_view(ControllerCaptions())
    {
        m_view.merge(refreshed);
    }
    [[nodiscard]] bool hidden(const char* control) const
    {
        return control && change(control).visible == false;
    }
    [[nodiscard]] QString text(const char* control) const
    {
        return change(control).text.value_or(QString());
    }

private:
    [[nodiscard]] ControlChange change(const char* control) const
    {
        return m_view.changes().value(QString::fromLatin1(control));
    }
    ControllerView m_view;
};

// A value of the controller window: the control of its caption (or a text of the language
// table), the value's control, its unit and the group box it lies in.
struct WindowValue {
    const char* caption;
    int captionText;
    const char* value;
    const char* unit;
    const char* box;
};

// The rows of each group, in the order the report shows them.
const std::initializer_list<WindowValue> kIdentityValues = {
    {"Label8", 0, "lblWinAdr", nullptr, nullptr},
    {"Label14", 0, "lblWinTyp", nullptr, nullptr},
};
const std::initializer_list<WindowValue> kStateValues = {
    {"gbModus", 0, "lblModus", nullptr, nullptr},
    {nullptr, kWindowStateText, "lblFensterZustand", nullptr, nullptr},
    {"gbRO", 0, "lblSRO", nullptr, "gbRO"},
    {"gbRU", 0, "lblSRU", nullptr, "gbRU"},
    {"gbFingerR", 0, "lblFingerR", nullptr, "gbFingerR"},
    {"Label3", 0, "lblReversion", nullptr, nullptr},
};
const std::initializer_list<WindowValue> kSupplyAndDriveValues = {
    {"Label11", 0, "lblVcc", nullptr, nullptr},
    {"Label6", 0, "lblVccGrenze", nullptr, nullptr},
    {nullptr, kPositionText, "lblKippPos", "mm", nullptr},
    {"Label9", 0, "lblFluegel", nullptr, nullptr},
    {"Label7", 0, "lblFluegelGrenze", nullptr, nullptr},
    {"Label17", 0, "lblrwa_oeffnung", "mm", nullptr},
};
const std::initializer_list<WindowValue> kSettingValues = {
    {"Label16", 0, "lblLeisteAktiv", nullptr, nullptr},
    {"Label15", 0, "lblAutoRiegel", nullptr, nullptr},
    {"Label10", 0, "lblKippsperre", nullptr, nullptr},
    {"Label2", 0, "lblEntriegel", nullptr, nullptr},
    {"Label12", 0, "lblLED", nullptr, nullptr},
};
const std::initializer_list<WindowValue> kCounterValues = {
    {"Label1", 0, "lblZyklDreh", nullptr, nullptr},
    {"Label13", 0, "lblZyklKipp", nullptr, nullptr},
};
const std::initializer_list<WindowValue> kPafSlaveValues = {
    {"Label27", 0, "lblFensterZustand2", nullptr, "gbPAF"},
    {"Label24", 0, "lblSlavePos", "mm", "gbPAF"},
    {"Label28", 0, "lblSlaveHall", nullptr, "gbPAF"},
    {"Label30", 0, "lblSlaveAntriebe", nullptr, "gbPAF"},
    {"Label26", 0, "lblSlaveErr", nullptr, "gbPAF"},
};

QList<ReportRow> windowRows(const WindowAfterReading& window,
                            std::initializer_list<WindowValue> values)
{
    QList<ReportRow> rows;
    for (const WindowValue& v : values) {
        if (window.hidden(v.caption) || window.hidden(v.value) || window.hidden(v.box))
            continue;
        const QString caption = v.caption ? window.text(v.caption) : LanguageText(v.captionText);
        QString value = window.text(v.value).trimmed();
        if (value.isEmpty())
            value = kUnreadValue;
        else if (v.unit)
            value += u' ' + QString::fromLatin1(v.unit);
        rows << ReportRow{withoutColon(caption), value};
    }
    return rows;
}

// The settings the window shows as selections of its boxes and radio items.
QList<ReportRow> selectedSettings(const WindowAfterReading& window,
                                  const ControllerReading& reading)
{
    QList<ReportRow> rows;
    const RefreshResult& r = reading.refresh;
    const SettingOptions options = r.options.value_or(SettingOptions{});
    if (options.openingWidthEnabled && !options.openingWidths.isEmpty()) {
        std::optional<int> index;
        if (r.openingWidth)
            index = r.openingWidth->index;
        rows << ReportRow{SettingName(SettingByte::OpeningWidth),
                          entryOr(options.openingWidths, index, QStringLiteral("mm"))};
    }
    if (reading.variantByte == kVariant55) {
        rows << ReportRow{SettingName(SettingByte::PwmClosing),
                          entryOr(options.pwmLevels, r.pwmClosingIndex)}
             << ReportRow{SettingName(SettingByte::PwmOpening),
                          entryOr(options.pwmLevels, r.pwmOpeningIndex)};
    }
    if (reading.controllerType == 4 && !window.hidden("RadioGroup1")) {
        QStringList items;
        for (int item = 0; item < kWindowTypeItems; ++item)
            items << window.text(qPrintable(QStringLiteral("RadioGroup1Item%1").arg(item)));
        rows << ReportRow{withoutColon(window.text("RadioGroup1")),
                          entryOr(items, r.windowTypeItem)};
    }
    return rows;
}

ReportGroup eventGroup(const ControllerReading& reading)
{
    const QStringList texts = EventBitTexts(reading.controllerType);
    QStringList active;
    for (int bit = 0; bit < kEventBits; ++bit) {
        if ((reading.events.master >> bit & 1) != 0)
            active << texts[bit];
    }
    if (ShowsSlaveColumn(reading.controllerType)) {
        for (int bit = 0; bit < kEventBits; ++bit) {
            if ((reading.events.slave >> bit & 1) != 0)
                active << kPafSlave + texts[bit];
        }
    }
    const QString value =
        active.isEmpty() ? ReportLanguageText(ReportText::NoEvents) : active.join(u'\n');
    return {LanguageText(kEventsHeading),
            {ReportRow{withoutColon(EventListCaption(reading.events)), value}}};
}

QString controllerTitle(const WindowListModel& list, int row)
{
    return QStringLiteral("%1 %2 – %3")
        .arg(LanguageText(kAddressTitleText), list.cell(row, 0), list.cell(row, 1).trimmed());
}

bool anyUnread(const QList<ReportGroup>& groups)
{
    for (const ReportGroup& group : groups) {
        for (const ReportRow& row : group.rows) {
            if (row.value == kUnreadValue)
                return true;
        }
    }
    return false;
}

void noteUnread(ReportSection& section)
{
    if (anyUnread(section.groups))
        section.note = ReportLanguageText(ReportText::Incomplete);
}

} // namespace

QList<ReportRow> CoverRows(const ReportVisit& visit, const QString& summary)
{
    const QLocale locale{QString(LanguageCode(CurrentLanguage()))};
    const QString madeAt = locale.toString(visit.madeAt.date(), QLocale::LongFormat) +
                           QStringLiteral(", ") +
                           locale.toString(visit.madeAt.time(), QLocale::ShortFormat);
    return {
        {LanguageText(kSiteText), visit.site},
        {ReportLanguageText(ReportText::Technician), visit.technician},
        {ReportLanguageText(ReportText::DateAndTime), madeAt},
        {LanguageText(kVersionText), ToolVersionText()},
        {LanguageText(kPortText), PortText(visit.connection)},
        {ReportLanguageText(ReportText::BusSummary), summary},
    };
}

ReportTable WindowListTable(const WindowListModel& list)
{
    ReportTable table;
    for (const QString& header : WindowListHeader())
        table.header << header.trimmed();
    for (int row = 0; row < list.deviceCount(); ++row) {
        const StatusColour status = StatusColourOf(*list.device(row));
        QList<ReportCell> cells;
        for (int column = 0; column < kWindowListColumns; ++column)
            cells << ReportCell{list.cell(row, column).trimmed(),
                                column == kWindowListColumns - 1 ? status : StatusColour::Plain};
        table.rows << cells;
    }
    return table;
}

ReportSection ControllerSection(const WindowListModel& list, int row,
                                const ControllerReading& reading)
{
    const WindowAfterReading window(reading.refresh.view);
    ReportGroup identity{ReportLanguageText(ReportText::Identity),
                         windowRows(window, kIdentityValues)};
    const auto production = [&reading](const char* label) {
        for (const auto& [field, text] : reading.production) {
            if (field == QLatin1String(label))
                return text;
        }
        return kUnreadValue;
    };
    for (const char* label : {"lblArtikelNr", "lblSNr", "lblSW1", "lblHW"})
        identity.rows << ReportRow{withoutColon(FinalTestCaption(label)), production(label)};
    identity.rows << ReportRow{ReportLanguageText(ReportText::ProductionDate),
                               production("lblICTdatum")};

    const QList<ReportGroup> groups = {
        identity,
        {LanguageText(kStateHeading), windowRows(window, kStateValues)},
        // The events follow the state, as the status bar follows the window's state display.
        eventGroup(reading),
        {ReportLanguageText(ReportText::SupplyAndDrive), windowRows(window, kSupplyAndDriveValues)},
        {LanguageText(kSettingsHeading),
         windowRows(window, kSettingValues) + selectedSettings(window, reading)},
        {LanguageText(kCountersHeading), windowRows(window, kCounterValues)},
        {withoutColon(window.text("gbPAF")), windowRows(window, kPafSlaveValues)},
    };
    ReportSection section{controllerTitle(list, row), {}, {}};
    for (const ReportGroup& group : groups) {
        if (!group.rows.isEmpty())
            section.groups << group;
    }
    noteUnread(section);
    return section;
}

ReportSection SilentControllerSection(const WindowListModel& list, int row)
{
    const QStringList header = WindowListHeader();
    ReportGroup cells{ReportLanguageText(ReportText::Identity), {}};
    for (int column = 0; column < kWindowListColumns; ++column)
        cells.rows << ReportRow{header[column].trimmed(), list.cell(row, column).trimmed()};
    return {controllerTitle(list, row), ReportLanguageText(ReportText::NoAnswer), {cells}};
}

ReportSection GroupUnitSection(const GroupUnitReading& reading)
{
    ReportGroup values{LanguageText(kUnitValuesHeading), {}};
    const std::pair<GroupUnitValue, QString> shown[] = {
        {GroupUnitValue::Status, reading.status},
        {GroupUnitValue::AddressingRuns, reading.addressingRuns},
        {GroupUnitValue::SoftwareFlashes, reading.softwareFlashes},
        {GroupUnitValue::WindowsDetected, reading.windowsDetected}};
    for (const auto& [value, text] : shown)
        values.rows << ReportRow{withoutColon(GroupUnitValueCaption(value)), text};

    ReportGroup settings{LanguageText(kSettingsHeading), {}};
    settings.rows << ReportRow{
        withoutColon(GroupUnitValueCaption(GroupUnitValue::DrivePause)),
        reading.drivePause ? QStringLiteral("%1 %2").arg(*reading.drivePause).arg(DrivePauseUnit())
                           : kUnreadValue};
    for (int l = 0; l < kGroupUnitLists; ++l) {
        const auto list = GroupUnitList(l);
        QString value;
        if (reading.enabled[l])
            value =
                entryOr(GroupUnitListEntries(list, reading.extendedNumbering), reading.index[l]);
        else
            // A list the unit does not offer, unless its read failed, which cannot be told apart
            // once the reading is incomplete.
            value = reading.complete ? LanguageText(kNotConfigurableText) : kUnreadValue;
        settings.rows << ReportRow{withoutColon(GroupUnitListCaption(list)), value};
    }
    ReportSection section{LanguageText(kGroupUnitText), {}, {values, settings}};
    if (!reading.complete)
        section.note = ReportLanguageText(ReportText::Incomplete);
    return section;
}
