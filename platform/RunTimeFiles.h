// Where the program finds the files it reads at run time (window pictures, EEPROM description
// files, manuals): next to itself in the build folder, in ../share/fenestrix beside it when
// installed.
#pragma once

#include <QString>

// The path of the run-time file `name`: next to the program in `programDirectory` when it is
// there, else in the installed folder beside it when it is there, else the one next to the
// program (which a caller then reports as missing).
[[nodiscard]] QString RunTimeFile(const QString& programDirectory, const QString& name);
