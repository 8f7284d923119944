// Modal dialogs block a test until they close: this runs code on such a dialog once it shows.
#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

// Runs `act` on the dialog that `find` returns as soon as it is visible; `context` keeps the
// waiting alive.
template <typename Dialog>
void whenShown(QObject& context, std::function<Dialog*()> find, std::function<void(Dialog&)> act)
{
    QTimer::singleShot(0, &context, [&context, find, act] {
        Dialog* dialog = find();
        if (dialog && dialog->isVisible())
            act(*dialog);
        else
            whenShown<Dialog>(context, find, act);
    });
}
