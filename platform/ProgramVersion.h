// The program's version, set once for the whole build (the project version in CMakeLists.txt):
// printed by --version and shown by the info dialog.
#pragma once

#include <QString>

[[nodiscard]] QString ProgramVersion();
