// The backup file reader on arbitrary bytes: it refuses or reads, never crashes, and what it reads
// is written again as a file that reads back the same.
#include "Require.h"
#include "controller/core/ControllerBackup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const BackupFileRead read = ReadBackupFile(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    require((read.error == BackupFileError::None) != read.file.controllers.isEmpty());
    if (read.error != BackupFileError::None)
        return 0;
    const BackupFileRead again = ReadBackupFile(BackupFileBytes(read.file));
    require(again.error == BackupFileError::None);
    require(again.file.controllers.size() == read.file.controllers.size());
    for (qsizetype i = 0; i < read.file.controllers.size(); ++i) {
        require(again.file.controllers[i].bytes == read.file.controllers[i].bytes);
        require(again.file.controllers[i].identity == read.file.controllers[i].identity);
    }
    return 0;
}
