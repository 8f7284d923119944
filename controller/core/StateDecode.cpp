#include "StateDecode.h"

#include "ValueFormats.h"
#include "texts/Sprachen.h"

#include <algorithm>

namespace {

// Event bits that concern one strand of a chain drive.
constexpr int kStrandEventBits = 0x0378;
// Event bit that, with the vent below the locking threshold, offers the zero position.
constexpr int kZeroPositionEventBit = 0x20;

const QString kCommandButtons[] = {QStringLiteral("bnWinKipp"), QStringLiteral("bnWinZu"),
                                   QStringLiteral("Button3"), QStringLiteral("bnWinAuf")};

bool isOneOf(int type, std::initializer_list<int> types)
{
    return std::find(types.begin(), types.end(), type) != types.end();
}

void setCommandButtons(ControllerView& view, bool enabled)
{
    for (const QString& button : kCommandButtons)
        view.setEnabled(button, enabled);
}

void setStatusDetail(ControllerView& view, const QString& text)
{
    view.setText(kStatusDetail, text);
}

QString lockText(bool locked)
{
    return LanguageText(locked ? 253 : 69); // verriegelt / entriegelt
}

void showLockMark(ControllerView& view, const ControllerState& state, LockElement element,
                  LockMark mark)
{
    if (mark != LockMark::Unchanged)
        view.merge(LockingIndicatorView(state, element, mark == LockMark::Locked));
}

} // namespace

bool IsZeroPositionController(const ControllerState& state)
{
    return isOneOf(state.controllerType, {5, 6, 8, 9}) || state.extendedCommissioning;
}

ModeDisplay SwitchModeDisplay(ControllerState& state, bool commissioning)
{
    state.commissioningMode = commissioning;
    ModeDisplay display;
    ControllerView& view = display.view;
    const QString modeLabel = QStringLiteral("lblModus");
    const QString modeButton = QStringLiteral("bnModus");
    if (commissioning) {
        view.setText(modeLabel, LanguageText(115)); // Inbetriebnahme
        view.setColour(modeLabel, TextColour::Red);
        view.setEnabled(modeButton, false);
        // Nullposition / Normalbetrieb
        view.setText(modeButton, LanguageText(IsZeroPositionController(state) ? 158 : 154));
        view.setText(QStringLiteral("lblFensterZustand"), LanguageText(97));
        display.positionBarToZero = true;
    } else {
        view.setText(modeLabel, LanguageText(154));
        view.setColour(modeLabel, TextColour::Normal);
        view.setEnabled(modeButton, true);
        view.setText(modeButton, LanguageText(115));
    }
    for (const char* control :
         {"bnSROentriegeln", "bnSROverriegeln", "bnSRUentriegeln", "bnSRUverriegeln",
          "bnFRentriegeln", "bnFRverriegeln", "bnKAauf", "bnKAzu"})
        view.setEnabled(QString::fromLatin1(control), commissioning);
    for (const char* control :
         {"lblKippA", "lblKippZ", "bnWinKipp", "bnWinZu", "bnWinAuf", "Button3"})
        view.setEnabled(QString::fromLatin1(control), !commissioning);
    view.setText(QStringLiteral("lblFingerR"),
                 state.chainType() ? QStringLiteral("10x Schließrollentest") : QStringLiteral(" "));
    return display;
}

std::optional<ModeDisplay> DecodeMode(ControllerState& state, int stateCode)
{
    if (stateCode == state.modeMemory)
        return std::nullopt;
    const int previous = state.modeMemory;
    state.modeMemory = stateCode;
    // Types 3 to 6 switch the display only on entering or leaving commissioning.
    const bool onlyCommissioningSwitches = state.controllerType >= 3 && state.controllerType <= 6;
    if (onlyCommissioningSwitches && previous != kCommissioningStateCode &&
        stateCode != kCommissioningStateCode)
        return std::nullopt;
    return SwitchModeDisplay(state, stateCode == kCommissioningStateCode);
}

void DecodeHandlePosition(ControllerState& state, std::optional<int> handle,
                          std::optional<int> lever)
{
    if (!handle)
        return;
    if (*handle == 1)
        state.handlePosition = 2;
    else if (lever)
        state.handlePosition = *lever != 0 ? 1 : 0;
}

bool EventsNeedStrand(const ControllerState& state, int eventBits)
{
    const int type = state.controllerType;
    const bool strandReporting =
        type == 8 || type == 9 || (type >= 3 && type <= 6 && state.softwareVersion >= kSoftware700);
    return (eventBits & 0xFFFF) != 0 && strandReporting;
}

ControllerView DecodeEvents(int eventBits, std::optional<int> strand)
{
    ControllerView view;
    view.setColour(kStatusBar, TextColour::Normal);
    if ((eventBits & 0xFFFF) == 0) {
        view.setText(kStatusEvents, QString());
        setStatusDetail(view, QString());
        return view;
    }
    if (strand) {
        if ((eventBits & kStrandEventBits) == 0)
            setStatusDetail(view, QStringLiteral(" "));
        else if (*strand == 0)
            setStatusDetail(view, QStringLiteral("Fehler linker Strang"));
        else if (*strand == 1)
            setStatusDetail(view, QStringLiteral("Fehler rechter Strang"));
    }
    view.setText(kStatusEvents, LanguageText(71)); // Ereignisse vorhanden
    view.setColour(kStatusBar, TextColour::Red);
    return view;
}

ControllerView NoCommunicationStatus()
{
    ControllerView view;
    view.setColour(kStatusBar, TextColour::Red);
    view.setText(kStatusEvents, LanguageText(121)); // keine KOMMUNIKATION
    setStatusDetail(view, QString());
    return view;
}

ControllerView DecodeCommissioningModeButton(ControllerState& state, int eventBits)
{
    ControllerView view;
    if (!state.commissioningMode)
        return view;
    const QString button = QStringLiteral("bnModus");
    const bool zeroPositionController = IsZeroPositionController(state);
    if (!zeroPositionController)
        state.zeroPositionRun = false;
    const bool ventAtZero = (eventBits & kZeroPositionEventBit) != 0 &&
                            state.ventMagnetPosition < state.automaticLockingThreshold;
    const int type = state.controllerType;
    if (ventAtZero && !state.zeroPositionRun) {
        if (zeroPositionController) {
            view.setEnabled(button, true);
            view.setText(button, LanguageText(158)); // Nullposition
        } else if (type == 7) {
            view.setEnabled(button, false);
            view.setText(button, LanguageText(372)); // Nullposition erkannt
            state.jogLatch = false;
        } else {
            view.setEnabled(button, true);
            view.setText(button, LanguageText(154)); // Normalbetrieb
        }
    } else if (state.zeroPositionRun) {
        // The second click is offered once the drive has run past 40 mm (PAF) or 100 mm.
        const bool paf = type == 8 || type == 9;
        view.setEnabled(button, state.drivePosition > (paf ? 40 : 100));
        // Maximale Kettenlänge / RWA-Öffnungsweite
        view.setText(button, LanguageText(paf || state.extendedCommissioning ? 389 : 197));
    } else if (type != 7) {
        view.setEnabled(button, false);
    }
    return view;
}

ControllerView DecodeWindowKind(int handlePosition, std::optional<int> windowKind)
{
    ControllerView view;
    const QString label = QStringLiteral("lblWinTyp");
    const QString variantButton = QStringLiteral("Button2");
    if (handlePosition == 2) {
        view.setText(label, LanguageText(126)); // Kippfenster
        view.setEnabled(variantButton, false);
        return view;
    }
    view.setEnabled(variantButton, true);
    // Dreh/Kipp-Fenster / DK mit Drehsperre
    view.setText(label, windowKind ? LanguageText(*windowKind == 1 ? 45 : 42) : QString());
    return view;
}

ControllerView LockingIndicatorView(const ControllerState& state, LockElement element, bool locked)
{
    ControllerView view;
    // The chain drives name their strands by side, the others by height.
    const bool sideNames = state.variantByte == kVariant55 && state.controllerType != 7;
    switch (element) {
    case LockElement::FingerBolt:
        view.setText(QStringLiteral("lblFingerR"), lockText(locked));
        break;
    case LockElement::UpperStrand:
        view.setText(QStringLiteral("lblSRO"),
                     LanguageText(sideNames ? 186 : 159) + QStringLiteral(" ") + lockText(locked));
        break;
    case LockElement::LowerStrand:
        view.setText(QStringLiteral("lblSRU"),
                     LanguageText(sideNames ? 138 : 246) + QStringLiteral(" ") + lockText(locked));
        break;
    }
    return view;
}

std::optional<StateDisplay> DecodeStateText(ControllerState& state, int stateCode)
{
    const QString label = QStringLiteral("lblFensterZustand");
    StateDisplay display;
    if (state.commissioningMode) {
        display.row.text = CommissioningStateText();
        display.view.setText(label, display.row.text);
        return display;
    }
    if (stateCode == state.stateTextMemory)
        return std::nullopt;
    state.stateTextMemory = stateCode;
    display.row = StateCodeRowFor(stateCode, state.controllerType);
    display.view.setText(label, display.row.text);
    showLockMark(display.view, state, LockElement::UpperStrand, display.row.upperStrand);
    showLockMark(display.view, state, LockElement::LowerStrand, display.row.lowerStrand);
    showLockMark(display.view, state, LockElement::FingerBolt, display.row.fingerBolt);
    if (display.row.windowStateClass)
        state.windowStateClass = *display.row.windowStateClass;
    return display;
}

ControllerView DecodeReversal(ControllerState& state, int code)
{
    ControllerView view;
    if (code != state.reversalMemory) {
        state.reversalMemory = code;
        view.setText(QStringLiteral("lblReversion"), ReversalText(code));
    }
    return view;
}

ControllerView DecodeOperationRelease(ControllerState& state, std::optional<int> poleReversal,
                                      std::optional<int> release)
{
    ControllerView view;
    if (poleReversal)
        state.poleReversalByte = *poleReversal;
    const bool commandsAllowed = !state.commissioningMode;
    if (release) {
        const QString message = QStringLiteral("Label22");
        const int type = state.controllerType;
        const bool smokeVent = type == 5 || type == 6;
        const bool poleReversed = (type == 3 || type == 4) && state.poleReversalByte == 1;
        if (*release == 1) {
            setCommandButtons(view, commandsAllowed);
            // Fenestrix Modus/ Bedienung freigegeben
            view.setText(message, LanguageText(238));
            view.setColour(message, TextColour::Normal);
        } else if (smokeVent || poleReversed) {
            setCommandButtons(view, false);
            // RWA Auslösung/ Bedienung gesperrt / Polwendung/ Bedienung gesperrt
            view.setText(message, LanguageText(smokeVent ? 192 : 396));
            view.setColour(message, TextColour::Red);
        } else {
            setCommandButtons(view, commandsAllowed);
        }
    }
    view.setVisible(QStringLiteral("gbFingerR"), state.commissioningMode);
    return view;
}

ControllerView PafMasterCommands(const ControllerState& state)
{
    ControllerView view;
    setCommandButtons(view, !state.commissioningMode);
    view.setVisible(QStringLiteral("Label22"), false);
    return view;
}

std::pair<int, int> SafetyEdgeAnalogueParameters(int controllerType)
{
    return controllerType == 8 ? std::pair{50, 51} : std::pair{48, 49};
}

ControllerView DecodeSafetyEdge(ControllerState& state, const SafetyEdgeReadings& readings)
{
    ControllerView view;
    const QString label = QStringLiteral("lblLeisteAktiv");
    if (!readings.present) {
        setStatusDetail(view, QString());
        return view;
    }
    if (*readings.present == 0) {
        state.safetyEdgeState = 0;
        setStatusDetail(view, QString());
        view.setText(label, LanguageText(150)); // n.v.
        view[label].hint = LanguageText(363);   // Leiste nicht vorhanden
        return view;
    }
    view[label].hint = LanguageText(364); // Leiste vorhanden
    if (readings.deactivated)
        view.setText(label, LanguageText(*readings.deactivated != 0 ? 41 : 7));
    view.setText(QStringLiteral("lblLeiste1Wert"), QString::number(readings.analogue1));
    view.setText(QStringLiteral("lblLeiste2Wert"), QString::number(readings.analogue2));
    if (readings.condition && *readings.condition != state.safetyEdgeMemory) {
        state.safetyEdgeMemory = *readings.condition;
        const SafetyEdgeCondition condition = SafetyEdgeConditionFor(*readings.condition);
        setStatusDetail(view, condition.panelText);
        state.safetyEdgeState = condition.safetyEdgeState;
    }
    return view;
}

ControllerView DecodeSupplyAndVent(ControllerState& state, std::optional<int> voltage,
                                   std::optional<int> magnet, std::optional<int> rawHall)
{
    ControllerView view;
    if (voltage) {
        const QString label = QStringLiteral("lblVcc");
        view.setText(label, VoltageText(*voltage));
        view[label].hint = QString::number(*voltage);
    }
    if (magnet) {
        state.ventMagnetPosition = *magnet;
        view.setText(QStringLiteral("lblFluegel"), QString::number(*magnet));
    }
    if (rawHall)
        view.setText(QStringLiteral("lblRohwert"), QString::number(*rawHall));
    return view;
}

DrivePositionDisplay DecodeDrivePosition(ControllerState& state, int raw, int barMaximum)
{
    const DriveScale scale = DriveScaleFor(state.variantByte, state.controllerType);
    state.drivePosition = int((raw & 0xFFFF) * scale.mmPerCount);
    DrivePositionDisplay display;
    display.view.setText(QStringLiteral("lblKippPos"),
                         MillimetreText(DisplayedPositionMm(raw, scale)));
    if (!state.commissioningMode)
        display.barValue = std::clamp(state.drivePosition, 0, std::max(barMaximum, 0));
    return display;
}

ControllerView DecodeDriveSides(const ControllerState& state, int value)
{
    ControllerView view;
    // The label beside "Kettenantrieb:" of the chain family; on a standard controller the same
    // label shows the automatic locking.
    if (!state.chainType())
        return view;
    // Types 4 and 5 with the electronics on the left name the sides the other way round.
    const bool mirrored =
        (state.controllerType == 4 || state.controllerType == 5) && state.electronicsLeft;
    if (const auto text = DriveSidesText(value, mirrored))
        view.setText(QStringLiteral("lblAutoRiegel"), *text);
    return view;
}
