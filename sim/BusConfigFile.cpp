#include "BusConfigFile.h"

#include "ArticleCodes.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <initializer_list>

namespace {

struct ConfigError {
    QString text;
};

[[noreturn]] void fail(const QString& where, const QString& what)
{
    throw ConfigError{where.isEmpty() ? what : where + QStringLiteral(": ") + what};
}

QString member(const QString& where, const QString& key)
{
    return where.isEmpty() ? key : where + QLatin1Char('.') + key;
}

// A number written as JSON number, or as text: decimal, "25h" or "0x25" for hexadecimal.
qint64 number(const QJsonValue& value, const QString& where, qint64 min, qint64 max)
{
    const auto outOfRange = [&] {
        fail(where, QStringLiteral("must be %1..%2").arg(min).arg(max));
    };
    qint64 n = 0;
    bool ok = false;
    if (value.isDouble()) {
        // A number beyond min..max is refused before the cast, which it would overflow.
        const double d = value.toDouble();
        if (!(d >= double(min) && d <= double(max)))
            outOfRange();
        n = static_cast<qint64>(d);
        ok = d == static_cast<double>(n);
    } else if (value.isString()) {
        QString text = value.toString().trimmed();
        int base = 10;
        if (text.endsWith(QLatin1Char('h'), Qt::CaseInsensitive)) {
            text.chop(1);
            base = 16;
        } else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
            text.remove(0, 2);
            base = 16;
        }
        n = text.toLongLong(&ok, base);
    }
    if (!ok)
        fail(where, QStringLiteral("not a number"));
    if (n < min || n > max)
        outOfRange();
    return n;
}

QJsonObject object(const QJsonValue& value, const QString& where)
{
    if (!value.isObject())
        fail(where, QStringLiteral("must be an object"));
    return value.toObject();
}

// One object of the config with its place in the file, so that every message names the member.
class Section {
public:
    Section(const QJsonValue& value, QString where, std::initializer_list<const char*> allowed)
        : m_object(object(value, where)), m_where(std::move(where))
    {
        for (const QString& key : m_object.keys()) {
            if (std::none_of(allowed.begin(), allowed.end(),
                             [&](const char* a) { return key == QLatin1String(a); }))
                fail(member(m_where, key), QStringLiteral("unknown setting"));
        }
    }

    [[nodiscard]] bool has(const char* key) const { return m_object.contains(QLatin1String(key)); }
    [[nodiscard]] QJsonValue value(const char* key) const { return m_object[QLatin1String(key)]; }
    [[nodiscard]] QString at(const char* key) const { return member(m_where, QLatin1String(key)); }

    // Sets `target` from the member `key` when the section has it.
    template <typename T> void number(const char* key, T& target, qint64 min, qint64 max) const
    {
        if (has(key))
            target = static_cast<T>(::number(value(key), at(key), min, max));
    }
    void flag(const char* key, bool& target) const
    {
        if (!has(key))
            return;
        if (!value(key).isBool())
            fail(at(key), QStringLiteral("must be true or false"));
        target = value(key).toBool();
    }
    void volts(const char* key, double& target, int max) const
    {
        if (!has(key))
            return;
        const double v = value(key).toDouble(-1);
        if (!value(key).isDouble() || v < 0 || v > max)
            fail(at(key), QStringLiteral("must be a number of volts 0..%1").arg(max));
        target = v;
    }
    template <typename T>
    void read(const char* key, T& target, T (*parse)(const QJsonValue&, const QString&)) const
    {
        if (has(key))
            target = parse(value(key), at(key));
    }

private:
    QJsonObject m_object;
    QString m_where;
};

// "7.03" as the word 0703h (major and minor as shown in hexadecimal), or a plain number.
uint16_t version(const QJsonValue& value, const QString& where)
{
    static const QRegularExpression dotted(
        QStringLiteral("^([0-9A-Fa-f]{1,2})\\.([0-9A-Fa-f]{2})$"));
    const auto match = dotted.match(value.toString());
    if (value.isString() && match.hasMatch())
        return static_cast<uint16_t>(match.captured(1).toUInt(nullptr, 16) << 8 |
                                     match.captured(2).toUInt(nullptr, 16));
    return static_cast<uint16_t>(number(value, where, 0, 0xFFFF));
}

// An article number such as "480211", or an identification code such as "20500027h".
uint32_t article(const QJsonValue& value, const QString& where)
{
    static const QRegularExpression articleNumber(QStringLiteral("^[0-9]{6}$"));
    if (value.isString() && articleNumber.match(value.toString()).hasMatch()) {
        const uint32_t code = IdentificationCodeOf(value.toString());
        if (code == 0)
            fail(where, QStringLiteral("unknown article number"));
        return code;
    }
    return static_cast<uint32_t>(number(value, where, 0, 0xFFFFFFFF));
}

QDate date(const QJsonValue& value, const QString& where)
{
    const QDate d = QDate::fromString(value.toString(), Qt::ISODate);
    if (!d.isValid())
        fail(where, QStringLiteral("must be a date YYYY-MM-DD"));
    return d;
}

// Values by address or parameter number, both written as numbers in the keys.
template <typename T>
QMap<int, T> numbered(const QJsonValue& value, const QString& where, int lastKey, int maxValue)
{
    QMap<int, T> values;
    const QJsonObject o = object(value, where);
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString at = member(where, it.key());
        const auto key = int(number(QJsonValue(it.key()), at, 0, lastKey));
        values[key] = static_cast<T>(number(it.value(), at, 0, maxValue));
    }
    return values;
}

QMap<int, uint8_t> controllerEeprom(const QJsonValue& value, const QString& where)
{
    return numbered<uint8_t>(value, where, 0xFF, 0xFF);
}

QMap<int, uint8_t> groupUnitEeprom(const QJsonValue& value, const QString& where)
{
    return numbered<uint8_t>(value, where, 0x3FF, 0xFF);
}

QMap<int, uint16_t> parameters(const QJsonValue& value, const QString& where)
{
    return numbered<uint16_t>(value, where, 0x3FF, 0xFFFF);
}

constexpr std::initializer_list<const char*> kFaultKeys = {"silent", "strayBytes", "wrongChecksum",
                                                           "shortReply", "delayMs"};

void readFaults(const Section& section, ReplyFaults& f)
{
    section.flag("silent", f.silent);
    section.number("strayBytes", f.strayBytes, 0, 3);
    section.flag("wrongChecksum", f.wrongChecksum);
    section.number("shortReply", f.shortReply, 0, 5);
    section.number("delayMs", f.delayMs, 0, 60000);
}

ReplyFaults deviceFaults(const QJsonValue& value, const QString& where)
{
    ReplyFaults f;
    readFaults(Section(value, where, kFaultKeys), f);
    return f;
}

// The value named by the text `value` in `names`.
template <typename T, size_t N>
T oneOf(const QJsonValue& value, const QString& where, const std::pair<const char*, T> (&names)[N])
{
    QStringList known;
    for (const auto& [name, named] : names) {
        if (value.toString() == QLatin1String(name))
            return named;
        known << QLatin1String(name);
    }
    fail(where, QStringLiteral("must be one of ") + known.join(QStringLiteral(", ")));
}

ControllerKind kind(const QJsonValue& value, const QString& where)
{
    static const std::pair<const char*, ControllerKind> kinds[] = {
        {"turnTilt", ControllerKind::TurnTilt},
        {"chainDrive", ControllerKind::ChainDrive},
        {"smokeVent", ControllerKind::SmokeVent},
        {"slidingDrive", ControllerKind::SlidingDrive},
        {"pafMaster", ControllerKind::PafMaster}};
    return oneOf(value, where, kinds);
}

EdgeCondition safetyEdge(const QJsonValue& value, const QString& where)
{
    static const std::pair<const char*, EdgeCondition> conditions[] = {
        {"none", EdgeCondition::None},
        {"ok", EdgeCondition::Ok},
        {"pressed", EdgeCondition::Pressed},
        {"interrupted", EdgeCondition::Interrupted},
        {"shortCircuit", EdgeCondition::ShortCircuit}};
    return oneOf(value, where, conditions);
}

Strand strand(const QJsonValue& value, const QString& where)
{
    static const std::pair<const char*, Strand> strands[] = {{"left", Strand::Left},
                                                             {"right", Strand::Right}};
    return oneOf(value, where, strands);
}

// A list of objects with the members `keys`, each read by `parse`.
template <typename T>
QList<T> listOf(const QJsonValue& value, const QString& where,
                std::initializer_list<const char*> keys, T (*parse)(const Section&))
{
    if (!value.isArray())
        fail(where, QStringLiteral("must be a list"));
    QList<T> list;
    const QJsonArray entries = value.toArray();
    for (int i = 0; i < entries.size(); ++i)
        list << parse(Section(entries[i], QStringLiteral("%1[%2]").arg(where).arg(i), keys));
    return list;
}

constexpr std::initializer_list<const char*> kRequiredScheduleKeys = {"bit", "fromMs", "untilMs"};

ScheduledEvent scheduledEvent(const Section& entry)
{
    for (const char* key : kRequiredScheduleKeys) {
        if (!entry.has(key))
            fail(entry.at(key), QStringLiteral("missing"));
    }
    ScheduledEvent e;
    entry.number("bit", e.bit, 0, 15);
    entry.number("fromMs", e.fromMs, 0, 0xFFFFFFFF);
    entry.number("untilMs", e.untilMs, e.fromMs, 0xFFFFFFFF);
    // A period no longer than the event would set the bit for good.
    entry.number("everyMs", e.everyMs, qint64(e.untilMs - e.fromMs) + 1, 0xFFFFFFFF);
    return e;
}

QList<ScheduledEvent> eventSchedule(const QJsonValue& value, const QString& where)
{
    return listOf(value, where, {"bit", "fromMs", "untilMs", "everyMs"}, scheduledEvent);
}

ControllerSetup controller(const QJsonValue& value, const QString& where, int ordinal)
{
    const Section c(value, where,
                    {"kind",        "address",          "type",        "variant",
                     "software",    "hardware",         "article",     "serial",
                     "produced",    "electronicsLeft",  "tiltOnly",    "longChain",
                     "supplyVolts", "supplyNoiseVolts", "safetyEdge",  "travelMm",
                     "speedMmPerS", "events",           "eventStrand", "eventSchedule",
                     "eeprom",      "parameters",       "faults"});
    ControllerKind k = ControllerKind::TurnTilt;
    c.read("kind", k, kind);
    if (!c.has("address"))
        fail(c.at("address"), QStringLiteral("missing"));
    int address = 0;
    c.number("address", address, 1, 63);
    if (address > 30 && address != 63)
        fail(c.at("address"), QStringLiteral("must be 1..30 or 3Fh"));

    ControllerSetup s = DefaultControllerSetup(k, address, ordinal);
    c.number("type", s.type, 0, 255);
    c.number("variant", s.variant, 0, 255);
    if (s.variant != 0x55 && s.variant != 0xAA)
        fail(c.at("variant"), QStringLiteral("must be 55h or AAh"));
    c.read("software", s.software, version);
    c.number("hardware", s.hardware, 0, 0xFFFF);
    c.read("article", s.articleCode, article);
    c.number("serial", s.serial, 0, 9999);
    c.read("produced", s.produced, date);
    c.flag("electronicsLeft", s.electronicsLeft);
    c.flag("tiltOnly", s.tiltOnly);
    c.flag("longChain", s.longChain);
    c.volts("supplyVolts", s.supplyVolts, 60);
    c.volts("supplyNoiseVolts", s.supplyNoiseVolts, 5);
    c.read("safetyEdge", s.safetyEdge, safetyEdge);
    c.number("travelMm", s.travelMm, 1, 5000);
    c.number("speedMmPerS", s.speedMmPerS, 1, 1000);
    c.number("events", s.events, 0, 0xFFFF);
    c.read("eventStrand", s.eventStrand, strand);
    c.read("eventSchedule", s.eventSchedule, eventSchedule);
    c.read("eeprom", s.eeprom, controllerEeprom);
    c.read("parameters", s.parameters, parameters);
    c.read("faults", s.faults, deviceFaults);
    return s;
}

// How many of the requests it selects a rule hits: a count, or "always" for every one.
std::optional<int> times(const QJsonValue& value, const QString& where)
{
    if (value.toString() == QLatin1String("always"))
        return std::nullopt;
    if (!value.isDouble())
        fail(where, QStringLiteral("must be a count or \"always\""));
    return int(number(value, where, 1, 0xFFFF));
}

// The requests a rule selects and how many of them it hits (every one unless said).
void readRuleScope(const Section& rule, RequestMatch& match, std::optional<int>& count)
{
    rule.number("nth", match.nth, 1, 0xFFFFFFFF);
    rule.number("mode", match.mode, 0, 0xFF);
    rule.number("window", match.window, 0, 63);
    rule.number("memory", match.memory, 0, 0x3FF);
    rule.read("times", count, times);
}

RequestFault requestFault(const Section& rule)
{
    static const std::pair<const char*, RequestFault::Kind> kinds[] = {
        {"silence", RequestFault::Kind::Silence},
        {"wrongChecksum", RequestFault::Kind::WrongChecksum},
        {"shortReply", RequestFault::Kind::ShortReply},
        {"strayBytes", RequestFault::Kind::StrayBytes}};
    if (!rule.has("fault"))
        fail(rule.at("fault"), QStringLiteral("missing"));
    RequestFault fault{oneOf(rule.value("fault"), rule.at("fault"), kinds), 0};
    const bool shortReply = fault.kind == RequestFault::Kind::ShortReply;
    if (!shortReply && fault.kind != RequestFault::Kind::StrayBytes) {
        if (rule.has("bytes"))
            fail(rule.at("bytes"), QStringLiteral("only for shortReply and strayBytes"));
        return fault;
    }
    if (!rule.has("bytes"))
        fail(rule.at("bytes"), QStringLiteral("missing"));
    rule.number("bytes", fault.bytes, 1, shortReply ? 5 : 3);
    return fault;
}

ReplyFaultRule replyFaultRule(const Section& entry)
{
    ReplyFaultRule rule;
    readRuleScope(entry, rule.match, rule.times);
    rule.fault = requestFault(entry);
    return rule;
}

LostWriteRule lostWriteRule(const Section& entry)
{
    LostWriteRule rule;
    readRuleScope(entry, rule.match, rule.times);
    return rule;
}

QList<ReplyFaultRule> requestFaults(const QJsonValue& value, const QString& where)
{
    return listOf(value, where, {"nth", "mode", "window", "memory", "times", "fault", "bytes"},
                  replyFaultRule);
}

QList<LostWriteRule> lostEepromWrites(const QJsonValue& value, const QString& where)
{
    return listOf(value, where, {"nth", "window", "memory", "times"}, lostWriteRule);
}

GroupUnitSetup groupUnit(const QJsonValue& value, const QString& where)
{
    const Section g(value, where,
                    {"software", "hardware", "versionWord", "status", "article", "serial",
                     "produced", "drivePause", "eeprom", "faults"});
    GroupUnitSetup s;
    g.read("software", s.software, version);
    g.number("hardware", s.hardware, 0, 0xFFFF);
    g.number("versionWord", s.versionWord, 0, 0xFFFF);
    g.number("status", s.status, 0, 0xFFFF);
    g.read("article", s.articleCode, article);
    g.number("serial", s.serial, 0, 9999);
    g.read("produced", s.produced, date);
    g.number("drivePause", s.drivePauseS, 0, 255);
    g.read("eeprom", s.eeprom, groupUnitEeprom);
    g.read("faults", s.faults, deviceFaults);
    return s;
}

BusSetup bus(const QJsonValue& value)
{
    const Section b(value, QString(),
                    {"turnaroundMs", "frameGapMs", "faults", "requestFaults", "lostEepromWrites",
                     "groupUnit", "controllers"});
    BusSetup s;
    uint32_t turnaroundMs = s.timing.turnaroundUs / 1000;
    uint32_t frameGapMs = s.timing.frameGapUs / 1000;
    b.number("turnaroundMs", turnaroundMs, 0, 1000);
    b.number("frameGapMs", frameGapMs, 1, 1000);
    s.timing = {turnaroundMs * 1000, frameGapMs * 1000};
    if (b.has("faults")) {
        std::initializer_list<const char*> keys = {"silent",     "strayBytes", "wrongChecksum",
                                                   "shortReply", "delayMs",    "neverSilent"};
        const Section faults(b.value("faults"), b.at("faults"), keys);
        readFaults(faults, s.faults);
        faults.flag("neverSilent", s.neverSilent);
    }
    b.read("requestFaults", s.requestFaults, requestFaults);
    b.read("lostEepromWrites", s.lostEepromWrites, lostEepromWrites);
    if (b.has("groupUnit"))
        s.groupUnit = groupUnit(b.value("groupUnit"), b.at("groupUnit"));
    if (b.has("controllers")) {
        if (!b.value("controllers").isArray())
            fail(b.at("controllers"), QStringLiteral("must be a list"));
        const QJsonArray list = b.value("controllers").toArray();
        for (int i = 0; i < list.size(); ++i)
            s.controllers << controller(list[i], QStringLiteral("controllers[%1]").arg(i), i + 1);
    }
    return s;
}

} // namespace

std::optional<BusSetup> ParseBusConfig(const QByteArray& json, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    try {
        if (document.isNull())
            fail(QString(), QStringLiteral("not JSON: %1 at offset %2")
                                .arg(parseError.errorString())
                                .arg(parseError.offset));
        if (!document.isObject())
            fail(QString(), QStringLiteral("the file must hold one JSON object"));
        return bus(document.object());
    } catch (const ConfigError& e) {
        if (error)
            *error = e.text;
        return std::nullopt;
    }
}

std::optional<BusSetup> LoadBusConfig(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    auto setup = ParseBusConfig(file.readAll(), error);
    if (!setup && error)
        *error = QStringLiteral("%1: %2").arg(path, *error);
    return setup;
}
