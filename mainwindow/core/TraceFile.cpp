#include "TraceFile.h"

#include "TelegramDecode.h"

TraceFile::TraceFile(TelegramTrace& trace, const QString& path) : m_trace(trace), m_file(path)
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    m_file.write(MonitorColumnTitles().join(u'\t').toUtf8() + '\n');
    m_trace.setListener([this](const TraceRecord& record) {
        for (int line = 0; line < 2; ++line)
            m_file.write(MonitorLine(record, line, m_previousTickMs).join(u'\t').toUtf8() + '\n');
        m_previousTickMs = record.tickMs;
    });
}

TraceFile::~TraceFile()
{
    if (m_file.isOpen())
        m_trace.setListener(nullptr);
}
