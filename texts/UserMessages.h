// How windows and flows tell the user something or ask a question: modal message boxes in the
// program (MessageBoxes), a recorder in tests that answers questions without a dialog.
#pragma once

#include <QString>

class UserMessages {
public:
    virtual ~UserMessages() = default;
    // Error box: caption text 74, error icon.
    virtual void error(const QString& text) = 0;
    // Warning box with a caption of the caller's.
    virtual void warning(const QString& caption, const QString& text) = 0;
    // Notice with a caption of the caller's (text 116 or 309), information icon.
    virtual void notice(const QString& caption, const QString& text) = 0;
    // Question before a change: caption text 257, warning icon, the buttons Yes and No (and
    // Cancel where asked), "No" the default; true only for "Yes".
    enum class Buttons { YesNo, YesNoCancel };
    [[nodiscard]] virtual bool confirm(const QString& text, Buttons buttons) = 0;
};
