// The messages and questions of the program: modal QMessageBox dialogs over the active window,
// with the language table's captions.
#pragma once

#include "UserMessages.h"

// Modal QMessageBox dialogs over the active window; line breaks of the table's texts (a lone CR in
// some) are shown as line breaks.
class MessageBoxes final : public UserMessages {
public:
    void error(const QString& text) override;
    void warning(const QString& caption, const QString& text) override;
    void notice(const QString& caption, const QString& text) override;
    bool confirm(const QString& text, Buttons buttons) override;
};
