// One suite for every serial device: the scripted line, the simulator's in-memory transport,
// QSerialPort over a pseudo-terminal and a network gateway over raw TCP and RFC 2217 answer the
// same cases of timing, purge, close and loss.
#include "GatewayPeer.h"
#include "PtyPeer.h"
#include "RecordingSerial.h"
#include "platform/NetworkSerialDevice.h"
#include "platform/QtSerialDevice.h"
#include "sim/MemoryBusPorts.h"
#include "sim/SimulatedBus.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// The request every case sends: the software version of window 1.
const Telegram kRequest = MakeTelegram(0x76, 1 << 2, 1);
const Telegram kReply = MakeTelegram(0x76, 1 << 2, PtyPeer::kReplyData);

// The scripted line of the unit tests on the virtual clock.
struct ScriptedRig {
    static constexpr bool kRealTime = false;
    ScriptedRig()
    {
        line.responder = [this](const QByteArray& r) { return reply(r); };
    }

    std::unique_ptr<SerialDevice> createDevice() { return ports.createDevice(); }
    QString path() const { return ports.devicePath(1); }
    Clock& clock() { return virtualClock; }
    void setReplyLength(int bytes) { replyLength = bytes; }
    void letRepliesArrive() {}
    void unplug() { line.unplug(); }
    void plugIn() { line.present = true; }

    QByteArray reply(const QByteArray& request) const
    {
        return ReplyTo(request, PtyPeer::kReplyData).left(replyLength);
    }

    VirtualClock virtualClock;
    ScriptedLine line{virtualClock};
    ScriptedPorts ports{line, {1}};
    int replyLength = 6;
};

// The simulator's default bus on the in-memory transport; controller 1 has version 0512h.
struct MemoryRig {
    static constexpr bool kRealTime = false;

    std::unique_ptr<SerialDevice> createDevice() { return ports.createDevice(); }
    QString path() const { return ports.devicePath(1); }
    Clock& clock() { return virtualClock; }
    void setReplyLength(int bytes)
    {
        ReplyFaults faults;
        faults.silent = bytes == 0;
        faults.shortReply = bytes < 6 ? bytes : 0;
        bus.setFaults(faults);
    }
    // The request and the reply take a few milliseconds on the line.
    void letRepliesArrive() { virtualClock.sleepMs(50); }
    void unplug() { ports.unplug(); }
    void plugIn() { ports.plugIn(); }

    VirtualClock virtualClock;
    SimulatedBus bus{DefaultBusSetup()};
    MemoryBusPorts ports{virtualClock, bus};
};

// A device in real time against a peer on a thread of its own that answers like a bus device.
template <typename Device, typename Peer> struct RealTimeRig {
    static constexpr bool kRealTime = true;
    template <typename... PeerArguments>
    explicit RealTimeRig(PeerArguments... arguments) : peer(arguments...)
    {}

    std::unique_ptr<SerialDevice> createDevice() { return std::make_unique<Device>(); }
    Clock& clock() { return realClock; }
    void setReplyLength(int bytes) { peer.setReplyLength(bytes); }
    // The request reaches the peer before it counts it; a gateway's reply then takes 20 ms.
    void letRepliesArrive()
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        peer.waitForAnswers(peer.requests());
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    void unplug() { peer.hangUp(); }
    void plugIn() { peer.comeBack(); }

    RealClock realClock;
    Peer peer;
};

// QSerialPort on a pseudo-terminal whose far end answers.
struct PtyRig : RealTimeRig<QtSerialDevice, PtyPeer> {
    QString path() const { return peer.portPath(); }
};

// A gateway on a loopback port whose bus answers after 20 ms, so that a gateway going away
// while a reply is awaited goes before the reply.
template <GatewayPeer::Kind kind>
struct GatewayRig : RealTimeRig<NetworkSerialDevice, GatewayPeer> {
    GatewayRig() : RealTimeRig(kind) { this->peer.setReplyDelayMs(20); }
    QString path() const { return this->peer.address(); }
};
using RawTcpRig = GatewayRig<GatewayPeer::Kind::Raw>;
using Rfc2217Rig = GatewayRig<GatewayPeer::Kind::Rfc2217>;

template <typename Rig> struct SerialDeviceContract : ::testing::Test {
    // A real-time device may end a wait a millisecond early by our clock, and late under load.
    static constexpr uint32_t kEarlyMs = Rig::kRealTime ? 1 : 0;
    static constexpr uint32_t kLateMs = Rig::kRealTime ? 60 : 0;

    void openDevice() { ASSERT_TRUE(device->open(rig.path())); }
    void sendRequest() { ASSERT_EQ(device->write(kRequest.data(), 6), 6); }
    // Milliseconds `step` takes on the rig's clock.
    template <typename Step> uint32_t msTakenBy(Step step)
    {
        const uint32_t start = rig.clock().tickMs();
        step();
        return rig.clock().tickMs() - start;
    }
    void expectWholeReply()
    {
        sendRequest();
        Telegram reply{};
        EXPECT_EQ(device->read(reply.data(), 6, 150), 6);
        EXPECT_EQ(reply, kReply);
    }

    Rig rig;
    std::unique_ptr<SerialDevice> device = rig.createDevice();
};

using Rigs = ::testing::Types<ScriptedRig, MemoryRig, PtyRig, RawTcpRig, Rfc2217Rig>;
TYPED_TEST_SUITE(SerialDeviceContract, Rigs);

TYPED_TEST(SerialDeviceContract, ReadEndsWhenAllBytesCameOrAtTheTimeLimitWithWhatCame)
{
    constexpr uint32_t kLimitMs = 100;
    this->openDevice();
    for (const int replyLength : {6, 3, 0}) {
        SCOPED_TRACE(replyLength);
        this->rig.setReplyLength(replyLength);
        this->sendRequest();
        uint8_t reply[6] = {};
        int got = -2;
        const uint32_t took =
            this->msTakenBy([&] { got = this->device->read(reply, 6, int(kLimitMs)); });
        EXPECT_EQ(got, replyLength);
        EXPECT_TRUE(std::equal(reply, reply + replyLength, kReply.begin()));
        if (replyLength == 6) {
            EXPECT_LT(took, kLimitMs);
        } else {
            EXPECT_GE(took + this->kEarlyMs, kLimitMs);
            EXPECT_LE(took, kLimitMs + this->kLateMs);
        }
    }
}

TYPED_TEST(SerialDeviceContract, ReadWithoutTimeTakesWhatHasArrived)
{
    this->openDevice();
    this->sendRequest();
    this->rig.letRepliesArrive();
    Telegram reply{};
    EXPECT_LE(this->msTakenBy([&] { EXPECT_EQ(this->device->read(reply.data(), 6, 0), 6); }),
              this->kLateMs);
    EXPECT_EQ(reply, kReply);
}

TYPED_TEST(SerialDeviceContract, PurgeDropsWhatHasArrived)
{
    this->openDevice();
    this->sendRequest();
    this->rig.letRepliesArrive();
    EXPECT_TRUE(this->device->purge());
    uint8_t byte = 0;
    EXPECT_EQ(this->device->read(&byte, 1, 30), 0);
    this->expectWholeReply();
}

TYPED_TEST(SerialDeviceContract, ClosedDeviceRefusesEverythingAtOnce)
{
    SerialDevice& device = *this->device;
    for (const bool wasOpen : {false, true}) {
        SCOPED_TRACE(wasOpen);
        if (wasOpen) {
            this->openDevice();
            device.close();
        }
        uint8_t bytes[6] = {};
        LineSettings line;
        const uint32_t took = this->msTakenBy([&] {
            EXPECT_EQ(device.read(bytes, 6, 200), -1);
            EXPECT_EQ(device.write(bytes, 6), -1);
        });
        EXPECT_LE(took, this->kLateMs);
        EXPECT_FALSE(device.isOpen());
        EXPECT_FALSE(device.lost());
        EXPECT_FALSE(device.purge());
        EXPECT_FALSE(device.readLine(line));
        EXPECT_FALSE(device.applyLine(line));
        EXPECT_FALSE(device.setDtr(true));
    }
}

TYPED_TEST(SerialDeviceContract, ClosedDeviceOpensAgainAndAnswers)
{
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        this->openDevice();
        EXPECT_TRUE(this->device->isOpen());
        this->expectWholeReply();
        this->device->close();
        this->device->close();
    }
}

// A USB adapter pulled before the request goes out, or while its reply is awaited.
TYPED_TEST(SerialDeviceContract, VanishedDeviceFailsAtOnceUntilOpenedWhereADeviceAnswers)
{
    SerialDevice& device = *this->device;
    for (const bool afterRequest : {false, true}) {
        SCOPED_TRACE(afterRequest);
        this->openDevice();
        if (afterRequest)
            this->sendRequest();
        this->rig.unplug();
        uint8_t bytes[6] = {};
        const uint32_t took = this->msTakenBy([&] {
            if (afterRequest)
                EXPECT_EQ(device.read(bytes, 6, 200), -1);
            else
                EXPECT_EQ(device.write(bytes, 6), -1);
            EXPECT_TRUE(device.lost());
            EXPECT_FALSE(device.isOpen());
            EXPECT_EQ(device.write(bytes, 6), -1);
            EXPECT_EQ(device.read(bytes, 6, 200), -1);
            EXPECT_FALSE(device.purge());
        });
        EXPECT_LE(took, this->kLateMs);
        EXPECT_TRUE(device.lost());

        EXPECT_FALSE(device.open(this->rig.path())) << "nothing answers there";
        EXPECT_FALSE(device.lost());
        this->rig.plugIn();
        this->openDevice();
        EXPECT_FALSE(device.lost());
        this->expectWholeReply();
        device.close();
    }
}

} // namespace
