// The simulator's config reader on arbitrary text: it either gives a bus or says what is wrong.
#include "Require.h"
#include "sim/BusConfigFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString error;
    const auto setup = ParseBusConfig(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)), &error);
    require(setup || !error.isEmpty());
    return 0;
}
