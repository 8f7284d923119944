// The help topics: the user manual "Comment_xx.pdf" of the current language, else the English
// one, opened with the desktop's PDF viewer; text 431 when neither is there.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class UserMessages;

// Hands a document to the desktop's associated application; tests record the request instead.
using DocumentOpener = std::function<void(const QString& path)>;

// The manual file name of a language: "Comment_de.pdf" ... "Comment_es.pdf".
[[nodiscard]] QString HelpFileName(int language);
// The manual to open among the run-time files of the program in `directory`: the language's own,
// else the English one; none when neither exists.
[[nodiscard]] std::optional<QString> FindHelpFile(const QString& directory, int language);

// The menu item "Hilfethemen": opens the manual found, or shows text 431. Whether the viewer
// starts is not observed.
void mnHilfethemenClick(const QString& directory, int language, UserMessages& messages,
                        const DocumentOpener& open);
