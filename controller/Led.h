// The handle LED dialog: the LED state to write (off, on, dimmed), taken over with "Übernehmen"
// or left with "Abbrechen".
#pragma once

#include <QDialog>

class QComboBox;

class Tfm_ledstatus final : public QDialog {
    Q_OBJECT
public:
    explicit Tfm_ledstatus(QWidget* parent = nullptr);

    // Selects the state the controller reports (0 off, 1 on, 2 dimmed); any other value selects
    // nothing.
    void select(int position);
    // The chosen entry; -1 when the box holds typed text that names no entry.
    [[nodiscard]] int selectedPosition() const;

private:
    QComboBox* cbLed;
};
