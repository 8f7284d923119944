#include "SimulatedBus.h"

#include <algorithm>

namespace {

constexpr uint8_t kKeepAlive = 0x4F;
constexpr uint8_t kEmergencyAddress = 0x60;
constexpr uint8_t kEmergencyAnswer = 0x63;
constexpr uint8_t kEmergencyEnd = 0x65;
// When two devices answer at once, the PC reads the first bytes of their overlaid replies and
// then nothing it can frame.
constexpr int kCollisionFragmentBytes = 3;

QByteArray bytesOf(const BusTelegram& telegram)
{
    return QByteArray(reinterpret_cast<const char*>(telegram.data()), int(telegram.size()));
}

// The bus lines are wired-AND: where two transmitters overlap, a 0 bit wins.
QByteArray collide(const QByteArray& a, const QByteArray& b)
{
    QByteArray out(std::min(a.size(), b.size()), Qt::Uninitialized);
    for (int i = 0; i < out.size(); ++i)
        out[i] = static_cast<char>(a[i] & b[i]);
    return out;
}

} // namespace

SimulatedBus::SimulatedBus(const BusSetup& setup)
    : m_timing(setup.timing), m_faults(setup.faults), m_neverSilent(setup.neverSilent)
{
    for (const ControllerSetup& c : setup.controllers)
        m_controllers.push_back(std::make_unique<SimulatedController>(c));
    if (setup.groupUnit)
        m_groupUnit =
            std::make_unique<SimulatedGroupUnit>(*setup.groupUnit, int(setup.controllers.size()));
    for (const ReplyFaultRule& rule : setup.requestFaults)
        m_requestFaults.add(rule);
    for (const LostWriteRule& rule : setup.lostEepromWrites)
        m_requestFaults.add(rule);
}

void SimulatedBus::failRequests(const RequestMatch& match, const RequestFault& fault,
                                std::optional<int> times)
{
    m_requestFaults.add(ReplyFaultRule{match, fault, times});
}

void SimulatedBus::loseEepromWrites(const RequestMatch& match, std::optional<int> times)
{
    m_requestFaults.add(LostWriteRule{match, times});
}

SimulatedController* SimulatedBus::controllerAt(int address) const
{
    for (const auto& c : m_controllers) {
        if (c->busAddress() == address)
            return c.get();
    }
    return nullptr;
}

std::vector<BusDevice*> SimulatedBus::devicesAt(int window) const
{
    std::vector<BusDevice*> found;
    if (m_groupUnit && window == m_groupUnit->busAddress())
        found.push_back(m_groupUnit.get());
    for (const auto& c : m_controllers) {
        if (c->busAddress() == window)
            found.push_back(c.get());
    }
    return found;
}

bool SimulatedBus::anyDeviceAnswers() const
{
    const auto answers = [](const BusDevice& d) { return !d.faults().silent; };
    return (m_groupUnit && answers(*m_groupUnit)) ||
           std::any_of(m_controllers.begin(), m_controllers.end(),
                       [&](const auto& c) { return answers(*c); });
}

BusReply SimulatedBus::handle(const BusTelegram& telegram, uint64_t endUs)
{
    BusRequest request = DecodeRequest(telegram);
    const std::optional<RequestFault> requestFault = m_requestFaults.take(request);
    std::vector<Answer> answers;
    if (request.mode == kKeepAlive) {
        if (anyDeviceAnswers())
            answers.push_back({bytesOf(telegram), 0});
    } else if (request.mode == kEmergencyAddress) {
        answers = emergencyAnswer(request);
    } else if (request.mode == kEmergencyEnd) {
        m_addressedInRun.clear();
    } else {
        answers = answersTo(request, endUs);
    }
    if (answers.empty() || m_neverSilent || m_faults.silent)
        return {};

    QByteArray bytes = answers.front().bytes;
    uint32_t delayMs = answers.front().delayMs;
    for (size_t i = 1; i < answers.size(); ++i) {
        bytes = collide(bytes, answers[i].bytes).left(kCollisionFragmentBytes);
        delayMs = std::max(delayMs, answers[i].delayMs);
    }
    bytes = GarbleReply(bytes, m_faults);
    if (requestFault)
        bytes = requestFault->applyTo(bytes);
    if (bytes.isEmpty())
        return {};
    delayMs += m_faults.delayMs;
    return {bytes, endUs + m_timing.turnaroundUs + uint64_t(delayMs) * 1000};
}

std::vector<SimulatedBus::Answer> SimulatedBus::answersTo(const BusRequest& request, uint64_t endUs)
{
    std::vector<Answer> answers;
    for (BusDevice* device : devicesAt(request.window)) {
        // A silent device is as good as unplugged: it neither answers nor acts.
        if (device->faults().silent)
            continue;
        if (const auto data = device->answer(request, endUs)) {
            const BusTelegram reply = EncodeBusTelegram(request.mode, request.addressField, *data);
            answers.push_back(
                {GarbleReply(bytesOf(reply), device->faults()), device->faults().delayMs});
        }
    }
    return answers;
}

std::vector<SimulatedBus::Answer> SimulatedBus::emergencyAnswer(const BusRequest& request)
{
    const int address = request.addressField >> 8;
    if (address < 1 || address > 63)
        return {};
    // Of the controllers without an address from this run, the lowest serial number wins.
    SimulatedController* winner = nullptr;
    for (const auto& c : m_controllers) {
        if (c->faults().silent || m_addressedInRun.contains(c.get()))
            continue;
        if (!winner || c->serial() < winner->serial())
            winner = c.get();
    }
    if (!winner)
        return {};
    winner->takeAddress(address);
    m_addressedInRun.insert(winner);
    const BusTelegram reply = EncodeBusTelegram(kEmergencyAnswer, request.addressField, 0);
    return {{GarbleReply(bytesOf(reply), winner->faults()), winner->faults().delayMs}};
}
