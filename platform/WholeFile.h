// A file the tool writes whole or not at all: a new or regular file through QSaveFile, so that a
// cancelled or failed write leaves what was there; a device or a pipe directly, as it cannot be
// replaced (and must not be, by a rename over it).
#pragma once

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <optional>

class WholeFile {
public:
    explicit WholeFile(QString path) : m_path(std::move(path)) {}

    // For writing; QIODevice::Text besides writes the line ends of the platform.
    [[nodiscard]] bool open(QIODevice::OpenMode mode = QIODevice::WriteOnly);
    [[nodiscard]] QIODevice& device();
    // Nothing written replaces the file.
    void cancel();
    // The written bytes become the file; false when not all of them could be written.
    [[nodiscard]] bool commit();

private:
    QString m_path;
    std::optional<QSaveFile> m_whole;
    std::optional<QFile> m_direct;
};
