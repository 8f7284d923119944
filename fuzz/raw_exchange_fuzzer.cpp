// The raw port's telegram exchange against a line that carries arbitrary bytes, fails, or
// vanishes: the result is one of the five codes, a good reply starts with the request's mode (or
// 63h for 60h), a failed exchange leaves the arguments alone, and nothing waits for real.
#include "ArbitrarySerial.h"
#include "Require.h"
#include "buslink/Zuzevsave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ArbitraryLine line(data, size);
    FuzzedDataProvider& input = line.input;
    // No byte log: the target must not write files.
    TZuzevSave raw(line.clock, line.ports, QString());
    const int limitMs = input.ConsumeIntegralInRange<int>(-5, 300);
    if (raw.RawOpen(1, input.ConsumeIntegral<uint32_t>(), limitMs) != 0)
        return 0;
    while (input.remaining_bytes() > 0) {
        const int sentMode = input.ConsumeIntegral<uint8_t>();
        const int sentField = input.ConsumeIntegral<uint16_t>();
        const int sentData = input.ConsumeIntegral<uint16_t>();
        int mode = sentMode, field = sentField, data = sentData;
        const int result = raw.RawTransmit(mode, field, data);
        require(result >= TZuzevSave::Ok && result <= TZuzevSave::BusBusy);
        if (result == TZuzevSave::Ok) {
            require(mode == sentMode || (sentMode == 0x60 && mode == 0x63));
            require(field >= 0 && field <= 0xFFFF && data >= 0 && data <= 0xFFFF);
        } else {
            require(mode == sentMode && field == sentField && data == sentData);
        }
        if (raw.deviceLost()) {
            raw.RawClose();
            require(!raw.deviceLost() && raw.RawOpen(1, 19200, limitMs) == 0);
        }
    }
    return 0;
}
