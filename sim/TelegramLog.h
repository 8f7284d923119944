// A log of the simulated bus's traffic: every request it received, every reply it sent, every
// byte it dropped and every change of the line's baud rate, one line each with the time in
// seconds since the bus started.
#pragma once

#include "BusTelegram.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>

class TelegramLog {
public:
    explicit TelegramLog(std::unique_ptr<QIODevice> out) : m_out(std::move(out)) {}
    // A log into the file `path` (appending), or onto standard error for "-".
    [[nodiscard]] static std::unique_ptr<TelegramLog> open(const QString& path, QString* error);

    void request(uint64_t atUs, const BusTelegram& telegram);
    void reply(uint64_t atUs, const QByteArray& bytes);
    void dropped(uint64_t atUs, const QByteArray& bytes);
    // "line 19200 baud"; 0 for a rate the terminal reports but the bus does not know.
    void baudRate(uint64_t atUs, uint32_t baud);

private:
    void write(uint64_t atUs, const char* direction, const QByteArray& bytes, const char* note);
    void writeLine(uint64_t atUs, const QString& text);

    std::unique_ptr<QIODevice> m_out;
};
