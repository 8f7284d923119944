// Return in a dialog whose design names no default button clicks nothing: Qt would otherwise make
// the first push button the default when the dialog is shown, and every focused one takes Return.
#pragma once

class QDialog;

// Takes Return from every push button of `dialog` created so far; Space still clicks the
// focused one.
void WithoutDefaultButton(QDialog& dialog);
