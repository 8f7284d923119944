#include "WholeFile.h"

#include <QFileInfo>

bool WholeFile::open(QIODevice::OpenMode mode)
{
    const QFileInfo target(m_path);
    if (target.exists() && !target.isFile()) {
        m_direct.emplace(m_path);
        return m_direct->open(mode);
    }
    m_whole.emplace(m_path);
    return m_whole->open(mode);
}

QIODevice& WholeFile::device()
{
    if (m_direct)
        return *m_direct;
    return *m_whole;
}

void WholeFile::cancel()
{
    if (m_whole)
        m_whole->cancelWriting();
}

bool WholeFile::commit()
{
    if (m_direct)
        return m_direct->flush();
    // QSaveFile's own commit loses a failed write of its last buffered bytes and would put a
    // truncated file in place of the old one, so they are flushed first.
    if (!m_whole || !m_whole->flush()) {
        cancel();
        return false;
    }
    return m_whole->commit();
}
