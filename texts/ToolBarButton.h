// A button of a dialog's tool bar: a standard icon with its caption below, named for tests and
// accessibility tools.
#pragma once

#include <QStyle>

class QToolBar;
class QToolButton;

QToolButton* AddToolBarButton(QToolBar* bar, const char* name, QStyle::StandardPixmap icon);
