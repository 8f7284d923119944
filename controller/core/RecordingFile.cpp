#include "RecordingFile.h"

#include "RecordingCsv.h"

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

bool RecordingFile::open()
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    return m_file.size() > 0 || writeThrough(CsvRecord(RecordingHeader()));
}

bool RecordingFile::append(const TimedSample& sample)
{
    return writeThrough(CsvRecord(RecordingFields(sample)));
}

bool RecordingFile::writeThrough(const QByteArray& record)
{
    if (m_file.write(record) != record.size() || !m_file.flush())
        return false;
        // Out of the system's cache onto the disk; a pipe or a terminal has nothing to sync.
#ifdef Q_OS_UNIX
    if (::fdatasync(m_file.handle()) != 0 && errno != EINVAL)
        return false;
#elif defined(Q_OS_WIN)
    if (::_commit(m_file.handle()) != 0)
        return false;
#endif
    return true;
}
