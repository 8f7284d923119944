#include "RunTimeFiles.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Where "cmake --install" and the package put them, relative to the program's folder.
const QString kInstalledFolder = QStringLiteral("../share/fenestrix");

} // namespace

QString RunTimeFile(const QString& programDirectory, const QString& name)
{
    const QDir program(programDirectory);
    const QString besideProgram = program.filePath(name);
    if (QFileInfo(besideProgram).isFile())
        return besideProgram;
    const QString installed =
        QDir::cleanPath(QDir(program.filePath(kInstalledFolder)).filePath(name));
    return QFileInfo(installed).isFile() ? installed : besideProgram;
}
