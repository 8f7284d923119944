// The description files of the EEPROM dialog: which file describes a page of which controller,
// where it is found, and its lines as the dialog's description column.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

constexpr int kEepromPageCount = 4;
constexpr int kEepromPageSize = 64;

// "S0_EEPROM.dat" .. "S3_EEPROM.dat", the third character naming the variant (page 0) or the
// controller family (page 2).
[[nodiscard]] QString DescriptionFileName(int page, int variantByte, int controllerType);

// The file in the working directory, else the one installed with the program whose folder is
// `programDirectory` (next to it or in its run-time folder); nothing when neither exists.
[[nodiscard]] std::optional<QString> FindDescriptionFile(const QString& fileName,
                                                         const QString& programDirectory);

// The 64 descriptions of a page from the file's Windows-1252 bytes: a line ends at its line feed
// (a carriage return before it is not part of it) and holds at most 498 characters, the rest of a
// longer line becoming the next row's text; rows past the end of the file are empty.
[[nodiscard]] QStringList DescriptionLines(const QByteArray& fileContents);

// The descriptions of `fileName`: 64 empty texts when no file exists, nothing when one exists but
// cannot be read (the dialog then keeps what it showed).
[[nodiscard]] std::optional<QStringList> ReadDescriptions(const QString& fileName,
                                                          const QString& programDirectory);
