// The far end of a pseudo-terminal, served by a thread of its own: answers each 6-byte request
// like a bus device, and can hang up as a pulled USB adapter does and come back on a new terminal.
#pragma once

#include "buslink/CZuzev.h"

#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

class PtyPeer {
public:
    // Every request is answered with its mode and address field and this data word.
    static constexpr uint16_t kReplyData = 0x0512;

    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    // The terminal the client opens; a new one after comeBack().
    [[nodiscard]] QString terminalPath() const { return m_terminalPath; }
    // A link to the terminal that exists only while the peer is up. Terminal numbers are reused at
    // once, by other tests running at the same time too, so a client that must find nothing after a
    // hang-up opens this path rather than the terminal's.
    [[nodiscard]] QString portPath() const { return m_portPath; }
    // How many bytes of each reply go out: 6 the whole reply, fewer cut it short, 0 none.
    void setReplyLength(int bytes) { m_replyLength = bytes; }
    // The next request is not answered: the terminal hangs up instead.
    void hangUpOnNextRequest() { m_hangUpOnRequest = true; }
    void hangUp();
    void comeBack();
    [[nodiscard]] int requests() const { return m_requests; }
    // Waits up to a second until `count` requests in all have been answered.
    void waitForAnswers(int count) const;

private:
    void start();
    void serve();
    // Removes the link before the terminal goes, so that it never names a reused terminal.
    void closeTerminal();

    int m_master = -1;
    // Held open, so that the terminal outlives the client's close and reopen.
    int m_terminal = -1;
    QString m_terminalPath;
    QTemporaryDir m_linkFolder;
    QString m_portPath;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_hangUpOnRequest{false};
    std::atomic<int> m_replyLength{6};
    std::atomic<int> m_requests{0};
    std::atomic<int> m_answered{0};
};
