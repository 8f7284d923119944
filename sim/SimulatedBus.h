// The simulated window bus: its controllers and group control unit, the keep-alive echo, the
// emergency-addressing run, and how the replies of several devices and the bus faults combine.
#pragma once

#include "BusSetup.h"
#include "RequestFaultRules.h"
#include "SimulatedController.h"
#include "SimulatedGroupUnit.h"

#include <QByteArray>
#include <QSet>

#include <memory>
#include <vector>

// What the bus sends back for one request: `bytes` go on the line from `startUs` on.
struct BusReply {
    QByteArray bytes;
    uint64_t startUs = 0;
};

class SimulatedBus {
public:
    explicit SimulatedBus(const BusSetup& setup);

    // Answers the request telegram whose last byte arrived at `endUs`; no bytes when no device
    // answers it, or when the bus never falls silent and every reply is lost in the traffic.
    [[nodiscard]] BusReply handle(const BusTelegram& request, uint64_t endUs);

    [[nodiscard]] const BusTiming& timing() const { return m_timing; }
    [[nodiscard]] const ReplyFaults& faults() const { return m_faults; }
    void setFaults(const ReplyFaults& faults) { m_faults = faults; }
    [[nodiscard]] bool neverSilent() const { return m_neverSilent; }
    void setNeverSilent(bool on) { m_neverSilent = on; }

    // Single-request faults. A rule hits `times` of the requests it selects, answered or not, or
    // every one without `times`; of two rules that select a request, the one added first hits it.
    // The replies of the requests `match` selects get `fault`.
    void failRequests(const RequestMatch& match, const RequestFault& fault,
                      std::optional<int> times = std::nullopt);
    // The EEPROM writes (09h, 07h) `match` selects are answered but not stored.
    void loseEepromWrites(const RequestMatch& match, std::optional<int> times = std::nullopt);
    // The requests received so far; the next one is number requestsReceived() + 1.
    [[nodiscard]] uint64_t requestsReceived() const { return m_requestFaults.requestsReceived(); }

    // The first controller configured at `address`, or null.
    [[nodiscard]] SimulatedController* controllerAt(int address) const;
    // The group control unit, or null on a bus without one.
    [[nodiscard]] SimulatedGroupUnit* groupUnit() const { return m_groupUnit.get(); }

private:
    struct Answer {
        QByteArray bytes;
        uint32_t delayMs = 0;
    };
    [[nodiscard]] std::vector<BusDevice*> devicesAt(int window) const;
    [[nodiscard]] bool anyDeviceAnswers() const;
    [[nodiscard]] std::vector<Answer> answersTo(const BusRequest& request, uint64_t endUs);
    [[nodiscard]] std::vector<Answer> emergencyAnswer(const BusRequest& request);

    BusTiming m_timing;
    ReplyFaults m_faults;
    bool m_neverSilent = false;
    RequestFaultRules m_requestFaults;
    std::vector<std::unique_ptr<SimulatedController>> m_controllers;
    std::unique_ptr<SimulatedGroupUnit> m_groupUnit;
    // Controllers that took an address in the emergency-addressing run under way.
    QSet<const SimulatedController*> m_addressedInRun;
};
