// Serves a simulated bus on a new pseudo-terminal in real time, on a thread of its own, for the
// tool's --simulate mode and for fenestrix-sim.
#pragma once

#include "BusLine.h"
#include "SimulatedBus.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// The server keeps its own handle on the terminal's slave side, so a client can close and reopen
// the port as often as it likes without the server seeing a hang-up.
class PtyBusServer {
public:
    explicit PtyBusServer(std::unique_ptr<SimulatedBus> bus);
    ~PtyBusServer();
    PtyBusServer(const PtyBusServer&) = delete;
    PtyBusServer& operator=(const PtyBusServer&) = delete;

    // Logs the traffic; set before `start`.
    void setLog(TelegramLog* log);

    // Opens the pseudo-terminal and starts serving; on failure says why.
    [[nodiscard]] bool start(QString* error = nullptr);
    void stop();
    [[nodiscard]] bool isRunning() const { return m_thread.joinable(); }
    // The device path a client opens, e.g. /dev/pts/7; empty before `start`.
    [[nodiscard]] QString slavePath() const { return m_slavePath; }

    // Runs `change` on the bus while the server waits, e.g. to switch a fault on or off.
    void withBus(const std::function<void(SimulatedBus&)>& change);

private:
    void serve();
    void readRequests(uint64_t nowUs);
    void writeReplies(uint64_t nowUs);
    [[nodiscard]] uint64_t nowUs() const;
    void closeDescriptors();

    std::unique_ptr<SimulatedBus> m_bus;
    BusLine m_line;
    TelegramLog* m_log = nullptr;
    // The terminal's rate as last logged; 0 before the first request.
    std::optional<uint32_t> m_loggedBaud;
    std::mutex m_lock;
    std::thread m_thread;
    std::atomic<bool> m_stopRequested = false;
    int m_master = -1;
    int m_slave = -1;
    int m_wake[2] = {-1, -1};
    QString m_slavePath;
    std::chrono::steady_clock::time_point m_start;
};
