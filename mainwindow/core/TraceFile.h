// The --trace file of a scripted run: the bus monitor's lines of every telegram exchanged while
// it is open, tab-separated UTF-8, written as they happen.
#pragma once

#include <QFile>
#include <QString>

#include <optional>

class TelegramTrace;

class TraceFile {
public:
    // Opens `path` and starts writing what `trace` records; `error` says why it could not.
    TraceFile(TelegramTrace& trace, const QString& path);
    ~TraceFile();
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    [[nodiscard]] bool isOpen() const { return m_file.isOpen(); }
    [[nodiscard]] QString errorString() const { return m_file.errorString(); }

private:
    TelegramTrace& m_trace;
    QFile m_file;
    std::optional<uint32_t> m_previousTickMs;
};
