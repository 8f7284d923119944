#include "BusPort.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

QString schemeOf(NetworkPort::Protocol protocol)
{
    return protocol == NetworkPort::Protocol::Rfc2217 ? QStringLiteral("rfc2217")
                                                      : QStringLiteral("tcp");
}

} // namespace

QString NetworkPortText(const NetworkPort& port)
{
    QUrl url;
    url.setScheme(schemeOf(port.protocol));
    url.setHost(port.host);
    url.setPort(port.port);
    return url.toString();
}

std::optional<NetworkPort> ParseNetworkPort(const QString& text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    NetworkPort port;
    if (url.scheme() == schemeOf(NetworkPort::Protocol::Rfc2217))
        port.protocol = NetworkPort::Protocol::Rfc2217;
    else if (url.scheme() != schemeOf(NetworkPort::Protocol::RawTcp))
        return std::nullopt;
    const bool onlyHostAndPort = url.isValid() && url.userInfo().isEmpty() &&
                                 (url.path().isEmpty() || url.path() == QLatin1String("/")) &&
                                 !url.hasQuery() && !url.hasFragment();
    if (!onlyHostAndPort || url.host().isEmpty() || url.port() < 1)
        return std::nullopt;
    port.host = url.host();
    port.port = static_cast<uint16_t>(url.port());
    return port;
}

QString BusPort::text() const
{
    return m_network ? NetworkPortText(*m_network) : QStringLiteral("COM%1").arg(m_comNumber);
}

std::optional<BusPort> BusPort::parse(const QString& text)
{
    static const QRegularExpression com(QStringLiteral(R"(^\s*(?:COM)?(\d{1,9})\s*$)"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = com.match(text); m.hasMatch())
        return BusPort(m.captured(1).toInt());
    if (auto network = ParseNetworkPort(text))
        return BusPort(std::move(*network));
    return std::nullopt;
}
