// A simulated window controller: its EEPROM, the parameters it reports, and its behaviour over
// time (drive, locks, state codes, commissioning, address take-over, events).
#pragma once

#include "BusDevice.h"
#include "BusSetup.h"
#include "ControllerEeprom.h"
#include "DriveMotion.h"
#include "SafetyEdge.h"
#include "SupplyVoltage.h"

class SimulatedController final : public BusDevice {
public:
    explicit SimulatedController(const ControllerSetup& setup);

    [[nodiscard]] int busAddress() const override { return m_address; }
    [[nodiscard]] std::optional<uint16_t> answer(const BusRequest& request,
                                                 uint64_t nowUs) override;

    // Emergency addressing: the controller takes `address` at once, in its EEPROM as well.
    void takeAddress(int address);
    [[nodiscard]] uint16_t serial() const { return m_serial; }
    [[nodiscard]] uint8_t eepromByte(int address) const { return m_eeprom.at(size_t(address)); }

    // What the controller has made of the commands it received, at `nowUs`.
    struct Observed {
        bool upperLocked;
        bool lowerLocked;
        bool boltLocked;
        bool commissioning;
        bool zeroPositionRun;
        bool driveMoving;
        int driveCounts;
        bool safetyEdgeActive;
        int controllerType;
    };
    [[nodiscard]] Observed observe(uint64_t nowUs);

private:
    enum class Phase { Closed, Unlocking, Opening, Open, Stopped, Closing, Locking, TurnUnlocked };

    // The parameter with number `number` (the memory address of a mode-15h read) at `nowUs`.
    [[nodiscard]] uint16_t parameter(int number, uint64_t nowUs);
    // The parameters of the window and drive, those of the safety edge, those of a PAF slave.
    [[nodiscard]] std::optional<uint16_t> windowParameter(int number, uint64_t nowUs) const;
    [[nodiscard]] std::optional<uint16_t> edgeParameter(int number) const;
    [[nodiscard]] uint16_t pafSlaveParameter(int number) const;
    void advanceTo(uint64_t nowUs);
    void finishPhase(uint64_t atUs);
    void startDrive(int target, Phase phase, uint64_t nowUs);
    void open(int target, bool full, uint64_t nowUs);
    void close(uint64_t nowUs);
    void stop(uint64_t nowUs);
    void command(uint16_t code, uint64_t nowUs);
    void windowCommand(uint16_t code, uint64_t nowUs);
    void jog(uint16_t code, uint64_t nowUs);
    void takeOverConfiguration(uint64_t nowUs);
    void leaveCommissioningStep(uint64_t nowUs);
    void leaveCommissioning(uint64_t nowUs);
    void countCycle();

    [[nodiscard]] bool isStandard() const { return m_type < 3; }
    [[nodiscard]] bool isZeroPositionController() const;
    [[nodiscard]] int stateCode() const;
    [[nodiscard]] uint16_t eventBits(uint64_t nowUs) const;
    [[nodiscard]] int word(int low) const;
    void setLocks(bool locked);

    ControllerEepromImage m_eeprom;
    int m_address;
    int m_type;
    uint8_t m_variant;
    uint16_t m_software;
    uint16_t m_serial;
    bool m_electronicsLeft;
    bool m_tiltOnly;
    SupplyVoltage m_supply;
    int m_travel; // counts of a full opening
    int m_speed;  // counts per second
    uint16_t m_events;
    Strand m_eventStrand;
    QList<ScheduledEvent> m_schedule;
    QMap<int, uint16_t> m_pinned;

    DriveMotion m_drive;
    Phase m_phase = Phase::Closed;
    uint64_t m_phaseEndUs = 0;
    int m_pendingTarget = 0;
    bool m_fullOpening = false;
    bool m_upperLocked = true;
    bool m_lowerLocked = true;
    bool m_boltLocked = true;
    bool m_commissioning = false;
    bool m_zeroPositionRun = false;
    bool m_jogClosing = false;
    bool m_blocked = false;
    SafetyEdge m_edge;
    int m_lastReversal = 0; // reason of the last reversal, parameter 0Ch
};
