// The language dialog: the six languages in their fixed German names; the main window applies
// the chosen one to every window.
#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QPushButton;

class Tfm_sprachauswahl final : public QDialog {
    Q_OBJECT
public:
    explicit Tfm_sprachauswahl(QWidget* parent = nullptr);

    // Before showing: the current language (0..5).
    void selectLanguage(int language);
    // After OK: the chosen language, always 0..5. Typed text that names no language keeps the
    // one selected before showing.
    [[nodiscard]] int chosenLanguage() const;

    void SetLanguage();

private:
    int m_preselected = 0;

    QGroupBox* GroupBox1;
    QComboBox* ComboBox1;
    QPushButton* Button1;
    QPushButton* Button2;
};
