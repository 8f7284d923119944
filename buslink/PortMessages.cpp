#include "PortMessages.h"

#include "texts/NetworkText.h"
#include "texts/Sprachen.h"

namespace {

constexpr int kPortNotOpenedText = 315;

} // namespace

QString PortNotOpenedText(const BusPort& port, DeviceFailure failure, uint32_t baud)
{
    const NetworkPort* network = port.network();
    if (!network)
        return LanguageText(kPortNotOpenedText);
    const QString address = port.text();
    switch (failure) {
    case DeviceFailure::HostNotFound:
        return NetworkLanguageText(NetworkText::HostNotFound).arg(network->host);
    case DeviceFailure::Refused:
        return NetworkLanguageText(NetworkText::Refused).arg(address);
    case DeviceFailure::TimedOut:
        return NetworkLanguageText(NetworkText::TimedOut).arg(address);
    case DeviceFailure::NoComPortOption:
        return NetworkLanguageText(NetworkText::NoComPortOption).arg(address);
    case DeviceFailure::LineRefused:
        return NetworkLanguageText(NetworkText::LineRefused).arg(address).arg(baud);
    case DeviceFailure::Closed:
        return PortLostText(port);
    case DeviceFailure::None:
        break;
    }
    return LanguageText(kPortNotOpenedText);
}

QString PortLostText(const BusPort& port)
{
    return port.network() ? NetworkLanguageText(NetworkText::ConnectionClosed).arg(port.text())
                          : LanguageText(kTextConnectionLost);
}
