// The file a recording appends to: the header row when the file is new or empty, then each row
// written through to the disk at once, so that a pulled plug or a power cut loses at most the
// row being written.
#pragma once

#include "TrendRing.h"

#include <QFile>

class RecordingFile {
public:
    explicit RecordingFile(const QString& path) : m_file(path) {}

    // Opens for appending; false with the file's error when that fails.
    [[nodiscard]] bool open();
    // The row of one refresh, on the disk when this returns true.
    [[nodiscard]] bool append(const TimedSample& sample);

    [[nodiscard]] QString path() const { return m_file.fileName(); }
    [[nodiscard]] QString errorString() const { return m_file.errorString(); }

private:
    [[nodiscard]] bool writeThrough(const QByteArray& record);

    QFile m_file;
};
