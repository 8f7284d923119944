#include "ProgramVersion.h"

QString ProgramVersion()
{
    return QStringLiteral(FENESTRIX_VERSION);
}
