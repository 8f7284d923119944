#include "RecordingSerial.h"

#include "buslink/CZuzev.h"

void ScriptedLine::log(const QString& what)
{
    events << QStringLiteral("t=%1 %2").arg(clock.nowUs() / 1000.0).arg(what);
}

void ScriptedLine::answerWithEcho(uint16_t data)
{
    responder = [data](const QByteArray& request) { return ReplyTo(request, data); };
}

void ScriptedLine::unplug()
{
    present = false;
    ++unplugs;
    incoming.clear();
    pendingRequest.clear();
    log(QStringLiteral("unplug"));
}

QByteArray ReplyTo(const QByteArray& request, uint16_t data)
{
    const auto u = [&](int i) { return static_cast<uint8_t>(request[i]); };
    const Telegram t = MakeTelegram(u(0), u(1) + 256u * u(2), data);
    return QByteArray(reinterpret_cast<const char*>(t.data()), 6);
}

bool ScriptedSerialDevice::open(const QString& path)
{
    close();
    if (!path.startsWith(QStringLiteral("scripted:")) || !m_line.present)
        return false;
    m_open = true;
    m_unplugsAtOpen = m_line.unplugs;
    m_line.log(QStringLiteral("open"));
    return true;
}

void ScriptedSerialDevice::close()
{
    if (isOpen())
        m_line.log(QStringLiteral("close"));
    m_open = false;
}

bool ScriptedSerialDevice::readLine(LineSettings& settings)
{
    settings.baud = m_line.baud;
    return isOpen() && !m_line.failReadLine;
}

bool ScriptedSerialDevice::applyLine(const LineSettings& settings)
{
    if (!isOpen() || m_line.failApplyLine)
        return false;
    if (settings.baud != m_line.baud)
        m_line.log(QStringLiteral("baud %1").arg(settings.baud));
    m_line.baud = settings.baud;
    return true;
}

bool ScriptedSerialDevice::setDtr(bool on)
{
    if (!isOpen())
        return false;
    if (on != m_line.dtr)
        m_line.log(QStringLiteral("dtr %1").arg(on ? 1 : 0));
    m_line.dtr = on;
    return true;
}

bool ScriptedSerialDevice::setRts(bool on)
{
    if (!isOpen())
        return false;
    if (on != m_line.rts)
        m_line.log(QStringLiteral("rts %1").arg(on ? 1 : 0));
    m_line.rts = on;
    return true;
}

int ScriptedSerialDevice::read(uint8_t* buffer, int count, int timeoutMs)
{
    if (!isOpen())
        return -1;
    if (m_line.chatter && m_line.incoming.isEmpty())
        m_line.incoming.append(char(0xEE));
    const int n = std::min<int>(count, static_cast<int>(m_line.incoming.size()));
    std::copy_n(m_line.incoming.constData(), n, reinterpret_cast<char*>(buffer));
    m_line.incoming.remove(0, n);
    if (n < count)
        m_line.clock.sleepMs(static_cast<uint32_t>(timeoutMs));
    return n;
}

int ScriptedSerialDevice::write(const uint8_t* buffer, int count)
{
    if (!isOpen())
        return -1;
    const QByteArray bytes(reinterpret_cast<const char*>(buffer), count);
    if (count == 1 && m_line.pendingRequest.isEmpty())
        m_line.log(QStringLiteral("byte %1").arg(static_cast<int>(buffer[0]), 2, 16, QChar('0')));
    m_line.pendingRequest += bytes;
    while (m_line.pendingRequest.size() >= 6) {
        const QByteArray request = m_line.pendingRequest.left(6);
        m_line.pendingRequest.remove(0, 6);
        m_line.requests << request;
        m_line.requestTimesUs << m_line.clock.nowUs();
        if (m_line.responder)
            m_line.incoming += m_line.responder(request);
    }
    return count;
}

bool ScriptedSerialDevice::purge()
{
    if (!isOpen())
        return false;
    m_line.incoming.clear();
    m_line.pendingRequest.clear();
    m_line.log(QStringLiteral("purge"));
    return true;
}

std::unique_ptr<SerialDevice> ScriptedPorts::createDevice()
{
    return std::make_unique<ScriptedSerialDevice>(m_line);
}

QString ScriptedPorts::devicePath(int number) const
{
    return m_existing.count(number) ? QStringLiteral("scripted:%1").arg(number)
                                    : QStringLiteral("missing:%1").arg(number);
}
