#include "SettingsFile.h"

#include "platform/WholeFile.h"

#include <QFile>
#include <QRegularExpression>

Settings ParseSettings(const QByteArray& text)
{
    Settings settings;
    const QString s = QString::fromLatin1(text);
    static const QRegularExpression port(QStringLiteral(R"(^\s*COM\s*([+-]?\d+))"));
    static const QRegularExpression baud(QStringLiteral(R"(^\s*([+-]?\d+))"));
    static const QRegularExpression language(QStringLiteral(R"(^\s*Sprache\s*([+-]?\d+))"));
    static const QRegularExpression network(QStringLiteral(R"(^\s*Netzwerk\s*([01])\s+(\S+))"));

    qsizetype at = 0;
    auto next = [&](const QRegularExpression& re, auto store) {
        const auto m = re.match(s.mid(at));
        if (!m.hasMatch())
            return false;
        store(m.captured(1).toLongLong());
        at += m.capturedEnd(0);
        return true;
    };
    const bool threeLines =
        next(port, [&](long long v) { settings.comPort = static_cast<int>(v); }) &&
        next(baud, [&](long long v) { settings.baud = static_cast<uint32_t>(v); }) &&
        next(language, [&](long long v) { settings.language = static_cast<int>(v); });
    if (const auto m = network.match(s.mid(at)); threeLines && m.hasMatch()) {
        settings.gateway = ParseNetworkPort(m.captured(2));
        settings.overNetwork = settings.gateway && m.captured(1) == QLatin1String("1");
    }

    if (settings.comPort < 1)
        settings.comPort = 1;
    if (settings.language < 0 || settings.language > 5)
        settings.language = 0;
    return settings;
}

std::optional<Settings> ReadSettingsFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ParseSettings(file.readAll());
}

bool WriteSettingsFile(const QString& path, const Settings& settings)
{
    WholeFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QString text = QStringLiteral("COM%1\n%2\nSprache%3\n")
                       .arg(settings.comPort)
                       .arg(settings.baud)
                       .arg(settings.language);
    if (settings.gateway)
        text += QStringLiteral("Netzwerk%1 %2\n")
                    .arg(settings.overNetwork ? 1 : 0)
                    .arg(NetworkPortText(*settings.gateway));
    const QByteArray bytes = text.toLatin1();
    if (file.device().write(bytes) != bytes.size()) {
        file.cancel();
        return false;
    }
    return file.commit();
}
