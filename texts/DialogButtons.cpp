#include "DialogButtons.h"

#include <QDialog>
#include <QPushButton>

void WithoutDefaultButton(QDialog& dialog)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        // The dialogs this one owns keep their own default.
        if (button->window() != &dialog)
            continue;
        button->setDefault(false);
        button->setAutoDefault(false);
    }
}
