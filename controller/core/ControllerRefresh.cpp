#include "ControllerRefresh.h"

#include "ControllerLayout.h"
#include "PafSlaveDecode.h"
#include "SettingBytes.h"
#include "StateCodes.h"
#include "ValueFormats.h"
#include "buslink/ParameterTable.h"
#include "buslink/Veltradt.h"
#include "texts/Sprachen.h"

namespace {

constexpr int kPoleReversalByte = 185;
constexpr int kHighestWindowType = 4;
constexpr int kSlowValueSteps = 3;
constexpr int kLongChainText = 269;

template <typename T> void takeIfSet(std::optional<T>& field, std::optional<T> later)
{
    if (later)
        field = std::move(later);
}

bool chainTypeWithOpeningWidth(int type)
{
    return type == 3 || type == 4 || type == 5 || type == 6 || type == 8 || type == 9;
}

} // namespace

void RefreshResult::merge(RefreshResult later)
{
    view.merge(later.view);
    icons += later.icons;
    takeIfSet(picture, std::move(later.picture));
    takeIfSet(radio, std::move(later.radio));
    takeIfSet(barValue, later.barValue);
    takeIfSet(barMaximum, later.barMaximum);
    openingWidthCleared = openingWidthCleared || later.openingWidthCleared;
    takeIfSet(options, std::move(later.options));
    takeIfSet(windowTypeItem, later.windowTypeItem);
    takeIfSet(openingWidth, later.openingWidth);
    takeIfSet(pwmClosingIndex, later.pwmClosingIndex);
    takeIfSet(pwmOpeningIndex, later.pwmOpeningIndex);
    takeIfSet(sample, later.sample);
}

QString WindowAddressText(int address)
{
    return address <= 35 ? QString::number(address)
                         : QString::number(address, 16).toUpper() + QLatin1Char('h');
}

ControllerRefresh::ControllerRefresh(TFensterSteuerung& bus, ControllerState& state,
                                     RefreshHost& host)
    : m_bus(bus), m_state(state), m_host(host)
{}

std::optional<int> ControllerRefresh::read(int parameter, int* deliveredValue)
{
    // A closed window reads nothing more; what is left of the refresh decodes nothing.
    if (stopped())
        return std::nullopt;
    int value = 0;
    const bool ok = m_bus.GetParameterValue(parameter, value) == TFensterSteuerung::ParOk;
    m_host.processEvents();
    if (deliveredValue)
        *deliveredValue = value;
    return ok ? std::optional(value) : std::nullopt;
}

int ControllerRefresh::delivered(int parameter)
{
    int value = 0;
    (void)read(parameter, &value);
    return value;
}

std::optional<int> ControllerRefresh::readEeprom(int address, int* deliveredValue)
{
    if (stopped())
        return std::nullopt;
    int value = 0;
    const bool ok = m_bus.ReadEepromByte(address, value) == 0;
    m_host.processEvents();
    if (deliveredValue)
        *deliveredValue = value;
    return ok ? std::optional(value) : std::nullopt;
}

RefreshResult ControllerRefresh::open()
{
    RefreshResult r;
    r.view.setText(QStringLiteral("lblWinAdr"), WindowAddressText(m_bus.GetWindowAddress()));
    m_state.softwareVersion = delivered(ParSoftwareVersion);
    const bool commissioning = delivered(ParState) == kCommissioningStateCode;
    const ModeDisplay mode = SwitchModeDisplay(m_state, commissioning);
    r.view.merge(mode.view);
    if (mode.positionBarToZero)
        r.barValue = 0;
    if (commissioning) {
        for (LockElement element :
             {LockElement::UpperStrand, LockElement::LowerStrand, LockElement::FingerBolt})
            r.icons.append({element, LockingIcon::Unknown});
    }
    for (const char* label : {"lbl2", "lbl3", "lblFingerR"})
        r.view.setText(QString::fromLatin1(label), QString());
    return r;
}

RefreshResult ControllerRefresh::run()
{
    RefreshResult r;
    if (!m_state.layoutSetUp)
        setUpLayout(r);
    if (stopped())
        return r;
    RefreshSample& sample = r.sample.emplace();
    sample.controllerType = m_state.controllerType;
    if (const auto stateCode = read(ParState)) {
        sample.stateCode = stateCode;
        if (const auto mode = DecodeMode(m_state, *stateCode)) {
            r.view.merge(mode->view);
            if (mode->positionBarToZero)
                r.barValue = 0;
        }
    }
    sample.commissioning = m_state.commissioningMode;
    if (const auto handle = read(ParHandle))
        DecodeHandlePosition(m_state, handle, *handle != 1 ? read(3) : std::nullopt);
    if (stopped())
        return r;
    const auto events = read(ParEventBits);
    sample.eventBits = events;
    if (!events) {
        r.view.merge(NoCommunicationStatus());
        m_state.slowValueCounter = 0;
        return r;
    }
    const auto strand = EventsNeedStrand(m_state, *events) ? read(55) : std::nullopt;
    r.view.merge(DecodeEvents(*events, strand));
    if (m_state.commissioningMode)
        r.view.merge(DecodeCommissioningModeButton(m_state, *events));
    if (const auto left = read(ParElectronicsSide))
        m_state.electronicsLeft = *left == 1;
    if (m_state.variantByte != kVariant55) {
        const auto kind = m_state.handlePosition != 2 ? read(ParWindowKind) : std::nullopt;
        r.view.merge(DecodeWindowKind(m_state.handlePosition, kind));
    }
    if (const auto stateCode = read(ParState)) {
        sample.stateCode = stateCode;
        if (const auto display = DecodeStateText(m_state, *stateCode))
            showStateCode(r, *display);
    }
    if (const auto reversal = read(23)) {
        sample.reversal = reversal;
        r.view.merge(DecodeReversal(m_state, *reversal));
    }
    if (stopped())
        return r;
    chainTypeValues(r);
    if (m_state.controllerType == 8)
        pafSlaveGroup(r);
    safetyEdge(r, sample);
    supplyAndPosition(r, sample);
    if (stopped())
        return r;
    picture(r);
    if (m_host.rollerTestRunning()) {
        r.view.setEnabled(QStringLiteral("bnKAauf"), false);
        r.view.setEnabled(QStringLiteral("bnKAzu"), false);
    } else if (m_state.commissioningMode) {
        r.view.setEnabled(QStringLiteral("bnKAauf"), true);
        r.view.setEnabled(QStringLiteral("bnKAzu"), true);
    }
    if (++m_state.slowValueCounter > kSlowValueSteps && !stopped()) {
        slowValues(r);
        m_state.slowValueCounter = 0;
    }
    return r;
}

void ControllerRefresh::showStateCode(RefreshResult& r, const StateDisplay& display)
{
    r.view.merge(display.view);
    const std::pair<LockElement, LockMark> marks[] = {
        {LockElement::UpperStrand, display.row.upperStrand},
        {LockElement::LowerStrand, display.row.lowerStrand},
        {LockElement::FingerBolt, display.row.fingerBolt},
    };
    for (const auto& [element, mark] : marks) {
        if (mark != LockMark::Unchanged)
            r.icons.append({element, LockingIconFor(mark == LockMark::Locked)});
    }
}

void ControllerRefresh::setUpLayout(RefreshResult& r)
{
    r.openingWidthCleared = true;
    m_state.heavyWindow = false;
    m_state.longChain = false;
    // A failed read shows the data word it delivered beside the type 1 it gives.
    int typeByte = 0;
    const bool typeRead = readEeprom(IdentityByte::ControllerType, &typeByte).has_value();
    m_state.controllerType = typeRead ? typeByte : 1;
    r.view.setText(QStringLiteral("Label22"),
                   QStringLiteral("%1, %2").arg(typeByte).arg(m_state.controllerType));
    m_state.extendedCommissioning = m_state.softwareVersion >= kSoftware700 &&
                                    (m_state.controllerType == 3 || m_state.controllerType == 4);
    const auto variant = read(ParVariant);
    if (!variant)
        return;
    m_state.variantByte = *variant == kVariant55 ? kVariant55 : 0xAA;
    m_state.layoutSetUp = true;
    r.view.setVisible(QStringLiteral("bnSchaltleiste"), true);
    r.view.setText(QStringLiteral("gbKippA"), LanguageText(433) + QLatin1Char(':'));
    const ControllerLayout layout = LayoutForControllerType(
        m_state.controllerType, m_state.softwareVersion, m_state.topHungArticle);
    r.view.merge(layout.view);
    if (layout.windowType)
        m_state.windowType = *layout.windowType;
    loadSettingOptions(r);
}

void ControllerRefresh::loadSettingOptions(RefreshResult& r)
{
    const int chainBits = read(41).value_or(0);
    const int maximumWidth = delivered(42);
    const auto version = read(ParSoftwareVersion);
    const SettingOptions options = LoadSettingOptions(m_state, chainBits, maximumWidth, version);
    m_state.openingWidthEntries = options.openingWidths;
    r.options = options;
    if (m_state.controllerType == 4) {
        if (const auto stored = readEeprom(SettingByte::WindowType)) {
            const int windowType = *stored > kHighestWindowType ? 0 : *stored;
            m_state.windowType = windowType;
            m_state.windowTypeItem = windowType - 1;
            r.windowTypeItem = m_state.windowTypeItem;
        }
    }
    if (m_state.longChain) {
        const QString label = QStringLiteral("Label22");
        r.view.setVisible(label, true);
        r.view.setColour(label, TextColour::Normal);
        r.view.setText(label, LanguageText(kLongChainText));
    }
}

void ControllerRefresh::chainTypeValues(RefreshResult& r)
{
    const int type = m_state.controllerType;
    if (chainTypeWithOpeningWidth(type)) {
        if (const auto width = read(37))
            r.view.setText(QStringLiteral("lblrwa_oeffnung"), OpeningWidthText(type, *width));
        const auto poleReversal = readEeprom(kPoleReversalByte);
        const auto release = read(38);
        r.view.merge(DecodeOperationRelease(m_state, poleReversal, release));
    } else if (type == 7) {
        if (const auto width = read(ParMaxTiltPosition))
            r.view.setText(QStringLiteral("lblrwa_oeffnung"), OpeningWidthText(type, *width));
    }
}

void ControllerRefresh::pafSlaveGroup(RefreshResult& r)
{
    r.view.merge(PafMasterCommands(m_state));
    PafSlaveReadings slave;
    slave.position = read(43);
    slave.magnet = read(46);
    slave.errors = read(44);
    // The slave state follows the status word as delivered, its last good value on a failure.
    int status = 0;
    slave.status = read(45, &status);
    slave.drives = read(54);
    slave.reversal = read(53);
    r.view.merge(DecodePafSlave(slave, status, m_state.commissioningMode));
}

void ControllerRefresh::safetyEdge(RefreshResult& r, RefreshSample& sample)
{
    SafetyEdgeReadings edge;
    edge.present = read(26);
    if (edge.present && *edge.present != 0) {
        edge.deactivated = read(25);
        const auto [first, second] = SafetyEdgeAnalogueParameters(m_state.controllerType);
        // The labels take the values as delivered; the sample only what was read.
        sample.safetyEdge1 = read(first, &edge.analogue1);
        sample.safetyEdge2 = read(second, &edge.analogue2);
        edge.condition = read(13);
    }
    r.view.merge(DecodeSafetyEdge(m_state, edge));
}

void ControllerRefresh::supplyAndPosition(RefreshResult& r, RefreshSample& sample)
{
    const auto voltage = read(ParSupplyVoltage);
    const auto magnet = read(5);
    const auto rawHall = read(6);
    r.view.merge(DecodeSupplyAndVent(m_state, voltage, magnet, rawHall));
    if (voltage)
        sample.supplyVolts = Volts(*voltage);
    sample.rawHall = rawHall;
    if (const auto position = read(12)) {
        sample.positionMm = DisplayedPositionMm(
            *position, DriveScaleFor(m_state.variantByte, m_state.controllerType));
        DrivePositionDisplay display =
            DecodeDrivePosition(m_state, *position, m_state.positionBarMaximum);
        r.view.merge(display.view);
        takeIfSet(r.barValue, display.barValue);
    }
}

void ControllerRefresh::picture(RefreshResult& r)
{
    r.picture = PictureStep(m_state);
    if (!r.picture)
        return;
    // The radio symbol and the drive sides are read only with a new picture.
    if (const auto radio = read(32)) {
        r.radio = RadioOverlay(*radio, m_state.windowType);
        if (const auto sides = read(33))
            r.view.merge(DecodeDriveSides(m_state, *sides));
    }
}

void ControllerRefresh::slowValues(RefreshResult& r)
{
    if (CountVersionMismatch(m_state, delivered(ParSoftwareVersion)))
        m_host.reconnect();
    if (const auto stored = readEeprom(SettingByte::OpeningWidth)) {
        const OpeningWidthSelection selection =
            SelectOpeningWidth(*stored, m_state.openingWidthEntries, m_state.softwareVersion);
        m_state.positionBarMaximum = selection.barMaximum;
        r.openingWidth = selection;
        r.barMaximum = selection.barMaximum;
    }
    // A 16-bit value of two entries: the high byte is read only after the low byte was.
    const auto word = [this](int low, int high) {
        const auto lowByte = read(low);
        return WordFromBytes(lowByte, lowByte ? delivered(high) : 0);
    };
    SlowReadings slow;
    slow.undervoltageLimit = word(10, 11);
    slow.lockingThreshold = word(7, 8);
    slow.tiltCycles = word(14, 15);
    const auto [turnLow, turnHigh] = TurnCycleParameters(m_state.controllerType);
    slow.turnCycles = word(turnLow, turnHigh);
    slow.tiltLock = read(18);
    if (m_state.variantByte == kVariant55) {
        slow.pwmClosing = readEeprom(SettingByte::PwmClosing);
        slow.pwmOpening = readEeprom(SettingByte::PwmOpening);
    } else {
        slow.automaticLocking = read(28);
    }
    slow.unlockLock = read(19);
    slow.handleLed = read(20);
    SlowValuesDisplay display = DecodeSlowValues(m_state, slow);
    r.view.merge(display.view);
    r.pwmClosingIndex = display.pwmClosingIndex;
    r.pwmOpeningIndex = display.pwmOpeningIndex;
}

QString ControllerRefresh::winAufCaption()
{
    int parameter42 = 0;
    const bool read = m_bus.GetParameterValue(42, parameter42) == TFensterSteuerung::ParOk;
    return WinAufCaption(m_state.controllerType, m_state.softwareVersion,
                         read ? std::optional(parameter42) : std::nullopt);
}
