// The controller window's work on the bus: the opening reads, one refresh in its fixed order and
// the slow values, through the access object; each updates the program-wide state and returns
// what the window must change.
#pragma once

#include "ControllerState.h"
#include "ControllerView.h"
#include "LockingIcon.h"
#include "OptionLists.h"
#include "RefreshSample.h"
#include "SlowValues.h"
#include "StateDecode.h"
#include "WindowPicture.h"

#include <QList>

#include <cstdint>
#include <optional>
#include <utility>

class TFensterSteuerung;

// The refresh timer runs this long from the end of one refresh to the start of the next.
constexpr int kRefreshPeriodMs = 1000;
// The version watch's reconnect closes the port this long before opening it again.
constexpr uint32_t kReconnectPauseMs = 333;

// What the refresh needs of the window that runs it.
class RefreshHost {
public:
    virtual ~RefreshHost() = default;
    // Lets pending user-interface events run; called between telegrams, never inside one.
    virtual void processEvents() = 0;
    // The window was closed meanwhile: the refresh reads nothing more.
    [[nodiscard]] virtual bool closed() const = 0;
    [[nodiscard]] virtual bool rollerTestRunning() const = 0;
    // The version watch asks for the connection to be opened again.
    virtual void reconnect() = 0;
};

// Everything one step changes on the window.
struct RefreshResult {
    ControllerView view;
    QList<std::pair<LockElement, LockingIcon>> icons;
    std::optional<PictureRebuild> picture;
    std::optional<PictureOverlay> radio;
    // The position bar: a new value, a new maximum.
    std::optional<int> barValue;
    std::optional<int> barMaximum;
    // The set-up clears the opening-width selection and loads the option lists, and the window
    // type item to select (-1 none).
    bool openingWidthCleared = false;
    std::optional<SettingOptions> options;
    std::optional<int> windowTypeItem;
    // The slow values: the opening width and PWM selections.
    std::optional<OpeningWidthSelection> openingWidth;
    std::optional<int> pwmClosingIndex;
    std::optional<int> pwmOpeningIndex;
    // What a refresh measured, for the trend; the opening and the commands measure nothing.
    std::optional<RefreshSample> sample;

    void merge(RefreshResult later);
};

class ControllerRefresh {
public:
    ControllerRefresh(TFensterSteuerung& bus, ControllerState& state, RefreshHost& host);

    // The opening's reads (window address label, software version, mode); polling is then
    // started by the caller, which runs the first refresh.
    [[nodiscard]] RefreshResult open();
    // One refresh in its fixed order.
    [[nodiscard]] RefreshResult run();
    // `bnWinAuf`'s caption for the language routine, with its read of parameter 42.
    [[nodiscard]] QString winAufCaption();

private:
    // A value, nothing when its read failed; `deliveredValue` receives what the access object
    // delivered either way (the cached value, or the last reply's data, after a failure).
    [[nodiscard]] std::optional<int> read(int parameter, int* deliveredValue = nullptr);
    [[nodiscard]] int delivered(int parameter);
    [[nodiscard]] std::optional<int> readEeprom(int address, int* deliveredValue = nullptr);
    [[nodiscard]] bool stopped() const { return m_host.closed(); }

    void setUpLayout(RefreshResult& r);
    void loadSettingOptions(RefreshResult& r);
    void chainTypeValues(RefreshResult& r);
    void pafSlaveGroup(RefreshResult& r);
    void safetyEdge(RefreshResult& r, RefreshSample& sample);
    void supplyAndPosition(RefreshResult& r, RefreshSample& sample);
    void picture(RefreshResult& r);
    void slowValues(RefreshResult& r);
    void showStateCode(RefreshResult& r, const StateDisplay& display);

    TFensterSteuerung& m_bus;
    ControllerState& m_state;
    RefreshHost& m_host;
};

// The window address as `lblWinAdr` shows it: decimal up to 35, else "%Xh".
[[nodiscard]] QString WindowAddressText(int address);
