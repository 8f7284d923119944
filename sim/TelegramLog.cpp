#include "TelegramLog.h"

#include <QFile>

#include <cstdio>

std::unique_ptr<TelegramLog> TelegramLog::open(const QString& path, QString* error)
{
    auto file = std::make_unique<QFile>();
    const bool ok = path == QLatin1String("-")
                        ? file->open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered)
                        : (file->setFileName(path),
                           file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text));
    if (!ok) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file->errorString());
        return nullptr;
    }
    return std::make_unique<TelegramLog>(std::move(file));
}

void TelegramLog::request(uint64_t atUs, const BusTelegram& telegram)
{
    write(atUs, "PC> ", QByteArray(reinterpret_cast<const char*>(telegram.data()), 6), "");
}

void TelegramLog::reply(uint64_t atUs, const QByteArray& bytes)
{
    write(atUs, "<bus", bytes, "");
}

void TelegramLog::dropped(uint64_t atUs, const QByteArray& bytes)
{
    write(atUs, "PC> ", bytes, "  (no telegram)");
}

void TelegramLog::write(uint64_t atUs, const char* direction, const QByteArray& bytes,
                        const char* note)
{
    const QString line = QString::asprintf("%7llu.%06llu %s %s%s\n",
                                           static_cast<unsigned long long>(atUs / 1'000'000),
                                           static_cast<unsigned long long>(atUs % 1'000'000),
                                           direction, bytes.toHex(' ').toUpper().constData(), note);
    m_out->write(line.toLatin1());
    if (auto* file = qobject_cast<QFile*>(m_out.get()))
        file->flush();
}
