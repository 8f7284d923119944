// A button of a dialog's tool bar: a standard icon with its caption below, named for tests and
// accessibility tools.
#pragma once

#include <QStyle>

class QDialog;
class QToolBar;
class QToolButton;

QToolButton* AddToolBarButton(QToolBar* bar, const char* name, QStyle::StandardPixmap icon);
// The buttons a device window's tool bar starts with: "bnZurueck", which accepts `dialog`, a
// separator and "ToolButton1" (Info), whose click the caller connects.
QToolButton* AddBackAndInfoButtons(QToolBar* bar, QDialog* dialog);
