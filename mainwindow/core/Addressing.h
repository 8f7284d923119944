// Giving controllers bus addresses: one at a time, the whole list in two phases through
// temporary addresses (the readdressing plan), and emergency addressing over a raw port.
#pragma once

#include "BusScan.h"

#include <QList>

#include <optional>

class Clock;
class SerialPorts;
class TFensterSteuerung;
class WindowListModel;

// What the addressing flows need of the main window.
class AddressingHost {
public:
    virtual ~AddressingHost() = default;
    virtual void SendKeepAlive() = 0;
    virtual void DisconnectBus(bool keepStatusText) = 0;
    virtual void processEvents() = 0;
    // The second status panel, which shows how a flow goes on.
    virtual void setProgressStatus(const QString& text) = 0;
    // The value edit dialog for a new address; nothing when it was not confirmed.
    [[nodiscard]] virtual std::optional<int> askNewAddress(int currentAddress) = 0;
    virtual ProgressReporter& progress() = 0;
    virtual UserMessages& messages() = 0;
};

class BusAddressing {
public:
    enum class EmergencyEnd { NotConfirmed, PortFailed, Finished, WrongAnswer };

    BusAddressing(Clock& clock, SerialPorts& ports, TFensterSteuerung& bus, WindowListModel& list,
                  AddressingHost& host);

    // The temporary address of a controller during readdressing: 32..39, then 41..62.
    [[nodiscard]] static int TemporaryAddress(int oldAddress);
    // Collisions of changed planned addresses, and 16 for every planned address above 30.
    [[nodiscard]] static int PlanErrors(const QList<int>& oldAddresses, const QList<int>& planned);

    // "Adresse ändern" for a list row: at once, or into the plan while readdressing.
    void changeAddress(int row);

    [[nodiscard]] bool readdressing() const { return m_readdressing; }
    // Takes the list's addresses as the plan.
    void enterReaddressing();
    // Validates the plan, asks, and writes it in two phases; true when it was written and the
    // mode has ended, false when readdressing goes on.
    bool applyReaddressing();
    // Puts the old addresses back into the list; nothing is sent.
    void abortReaddressing();
    [[nodiscard]] const QList<int>& plannedAddresses() const { return m_planned; }

    // Hands out the addresses 1, 2, 3 ... to unaddressed controllers one after another.
    EmergencyEnd emergencyAddressing(const BusConnection& connection);

private:
    void writeAddressPhase(int entry, int fromAddress, int toAddress);
    [[nodiscard]] bool addressInList(int address) const;

    Clock& m_clock;
    SerialPorts& m_ports;
    TFensterSteuerung& m_bus;
    WindowListModel& m_list;
    AddressingHost& m_host;
    bool m_readdressing = false;
    QList<int> m_old;
    QList<int> m_planned;
};
