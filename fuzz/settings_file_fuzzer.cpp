// The settings-file reader on arbitrary text: it never fails, and the port and language it
// returns are always usable.
#include "Require.h"
#include "buslink/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Settings settings = ParseSettings(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    require(settings.comPort >= 1 && settings.language >= 0 && settings.language <= 5);
    return 0;
}
