// The telegram link's reply reader against a line that answers with arbitrary bytes, fails, or
// vanishes: a good reply always echoes the mode and passes the checksum, a failed exchange keeps
// the last good reply, and nothing waits for real.
#include "ArbitrarySerial.h"
#include "Require.h"
#include "buslink/CZuzev.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ArbitraryLine line(data, size);
    FuzzedDataProvider& input = line.input;
    CZuzev link(line.clock, line.ports);
    const int replyTimeoutMs = input.ConsumeIntegralInRange<int>(0, 300);
    const int wakeUp = input.ConsumeBool() ? 1 : 0;
    const unsigned long baud = input.ConsumeIntegral<uint32_t>();
    if (!link.OpenCom(1, replyTimeoutMs, baud, wakeUp))
        return 0;
    while (input.remaining_bytes() > 0) {
        const auto mode = input.ConsumeIntegral<uint8_t>();
        const auto address = input.ConsumeIntegral<uint16_t>();
        const auto word = input.ConsumeIntegral<uint16_t>();
        const Telegram before = link.lastGoodReply();
        if (link.ZuzevTransmit(address, word, mode)) {
            const Telegram& reply = link.lastGoodReply();
            require(reply[0] == mode && reply[5] == TelegramChecksum(reply.data()));
        } else {
            require(link.lastGoodReply() == before);
            require(link.errorCode() == CZuzev::ErrWrite ||
                    link.errorCode() == CZuzev::ErrNoReply ||
                    link.errorCode() == CZuzev::ErrChecksum);
        }
        if (link.deviceLost())
            require(link.OpenCom(1, replyTimeoutMs, baud, 0) && !link.deviceLost());
    }
    return 0;
}
