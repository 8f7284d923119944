#include "Rfc2217Framing.h"

namespace {

enum Telnet : uint8_t {
    Se = 240,
    Sb = 250,
    Will = 251,
    Wont = 252,
    Do = 253,
    Dont = 254,
    Iac = 255,
};
enum Option : uint8_t { Binary = 0, SuppressGoAhead = 3 };

QByteArray bytes(std::initializer_list<uint8_t> list)
{
    QByteArray out;
    for (uint8_t b : list)
        out += char(b);
    return out;
}

} // namespace

QByteArray Rfc2217Framing::opening()
{
    *this = Rfc2217Framing();
    m_local[kComPort] = WantYes;
    m_local[Binary] = WantYes;
    m_remote[Binary] = WantYes;
    return bytes({Iac, Will, kComPort, Iac, Will, Binary, Iac, Do, Binary});
}

QByteArray Rfc2217Framing::escaped(const QByteArray& data)
{
    QByteArray out;
    out.reserve(data.size() + 2);
    for (char c : data) {
        out += c;
        if (uint8_t(c) == Iac)
            out += c;
    }
    return out;
}

QByteArray Rfc2217Framing::command(uint8_t command, const QByteArray& value)
{
    return bytes({Iac, Sb, kComPort}) + escaped(char(command) + value) + bytes({Iac, Se});
}

std::optional<QByteArray> Rfc2217Framing::reply(uint8_t command) const
{
    return m_replies[command];
}

QByteArray Rfc2217Framing::receive(const QByteArray& received, QByteArray& data)
{
    QByteArray answers;
    for (char c : received) {
        const auto b = uint8_t(c);
        switch (m_stage) {
        case Stage::Data:
            if (b == Iac)
                m_stage = Stage::Command;
            else
                data += c;
            break;
        case Stage::Command:
            m_stage = Stage::Data;
            if (b == Iac) {
                data += c;
            } else if (b >= Will && b <= Dont) {
                m_verb = b;
                m_stage = Stage::Option;
            } else if (b == Sb) {
                m_sub.clear();
                m_stage = Stage::Sub;
            } // other commands (no operation, go ahead, data mark) mean nothing here
            break;
        case Stage::Option:
            negotiate(m_verb, b, answers);
            m_stage = Stage::Data;
            break;
        case Stage::Sub:
            if (b == Iac)
                m_stage = Stage::SubCommand;
            else
                m_sub += c;
            break;
        case Stage::SubCommand:
            if (b == Iac) {
                m_sub += c;
                m_stage = Stage::Sub;
            } else {
                // SE ends the subnegotiation; anything else breaks it off.
                if (b == Se)
                    subnegotiation();
                m_stage = Stage::Data;
            }
            break;
        }
    }
    return answers;
}

// Each side of an option answers only a change of state, so that two ends never echo each
// other's requests without end. Options other than binary transmission, suppressed go-ahead and
// COM-PORT-OPTION (ours only) are refused, echo above all: the gateway must not send the
// requests back as data.
void Rfc2217Framing::negotiate(uint8_t verb, uint8_t option, QByteArray& answers)
{
    const bool remoteSide = verb == Will || verb == Wont;
    State& state = (remoteSide ? m_remote : m_local)[option];
    const bool accepted =
        option == Binary || option == SuppressGoAhead || (!remoteSide && option == kComPort);
    const uint8_t yes = remoteSide ? Do : Will;
    const uint8_t no = remoteSide ? Dont : Wont;
    if (verb == Will || verb == Do) {
        if (state == No)
            answers += bytes({Iac, accepted ? yes : no, option});
        if (state != Yes)
            state = accepted ? Yes : No;
    } else {
        if (state == Yes)
            answers += bytes({Iac, no, option});
        state = No;
    }
}

void Rfc2217Framing::subnegotiation()
{
    constexpr uint8_t kReplyOffset = 100;
    if (m_sub.size() >= 2 && uint8_t(m_sub[0]) == kComPort && uint8_t(m_sub[1]) >= kReplyOffset)
        m_replies[uint8_t(m_sub[1]) - kReplyOffset] = m_sub.mid(2);
}
