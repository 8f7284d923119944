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

void TelegramLog::baudRate(uint64_t atUs, uint32_t baud)
{
    writeLine(atUs, baud != 0 ? QStringLiteral("line %1 baud").arg(baud)
                              : QStringLiteral("line unknown baud"));
}

void TelegramLog::write(uint64_t atUs, const char* direction, const QByteArray& bytes,
                        const char* note)
{
    writeLine(atUs, QString::asprintf("%s %s%s", direction, bytes.toHex(' ').toUpper().constData(),
                                      note));
}

void TelegramLog::writeLine(uint64_t atUs, const QString& text)
{
    const QString line =
        QString::asprintf("%7llu.%06llu ", static_cast<unsigned long long>(atUs / 1'000'000),
                          static_cast<unsigned long long>(atUs % 1'000'000)) +
        text + u'\n';
    m_out->write(line.toLatin1());
    if (auto* file = qobject_cast<QFile*>(m_out.get()))
        file->flush();
}
