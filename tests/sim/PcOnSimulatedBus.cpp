#include "PcOnSimulatedBus.h"

PcOnSimulatedBus::PcOnSimulatedBus(const BusSetup& setup)
    : bus(setup), ports(clock, bus), pc(clock, ports, QStringLiteral("/nonexistent/Fenestrix.ini"))
{
    pc.Connect(19200, 1, 150);
}

std::optional<int> PcOnSimulatedBus::parameter(int address, int index)
{
    pc.SetWindowAddress(address);
    int value = 0;
    if (pc.GetParameterValue(index, value) != TFensterSteuerung::ParOk)
        return std::nullopt;
    return value;
}

std::optional<int> PcOnSimulatedBus::eepromByte(int address, int memory)
{
    pc.SetWindowAddress(address);
    int value = 0;
    if (pc.ReadEepromByte(memory, value) != 0)
        return std::nullopt;
    return value;
}

int PcOnSimulatedBus::send(int address, int mode, int memory, int data)
{
    pc.SetWindowAddress(address);
    return pc.SendToWindow(mode, memory, data);
}

QByteArray TelegramBytes(int mode, int addressField, int data)
{
    const Telegram t = MakeTelegram(unsigned(mode), unsigned(addressField), unsigned(data));
    return QByteArray(reinterpret_cast<const char*>(t.data()), 6);
}

QByteArray RawExchange(SerialDevice& port, int mode, int addressField, int data, int acceptedEcho,
                       int limitMs)
{
    const Telegram request = MakeTelegram(unsigned(mode), unsigned(addressField), unsigned(data));
    for (const uint8_t byte : request)
        (void)port.write(&byte, 1);
    QByteArray reply;
    for (int attempt = 0; attempt < limitMs && reply.size() < 6; ++attempt) {
        uint8_t byte = 0;
        if (port.read(&byte, 1, 1) != 1)
            continue;
        if (reply.isEmpty() && byte != acceptedEcho)
            continue;
        reply.append(static_cast<char>(byte));
    }
    return reply;
}
