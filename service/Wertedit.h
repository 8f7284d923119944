// The value edit dialog: the user types a number as decimal or "h"-suffixed hex text, checked
// against a range; accepted values collect in a history list. One object for the whole run.
#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class UserMessages;

class TfmWertEdit final : public QDialog {
    Q_OBJECT
public:
    explicit TfmWertEdit(UserMessages& messages, QWidget* parent = nullptr);

    // Display mode 0: short hex ("Ah"); 1 or 3: decimal; any other: hex with `digits` digits.
    // `digits` is also the width of the history entries. All four stay until the next call.
    void Configure(int minimum, int maximum, int displayMode, int digits);
    // Set before showing: the caption above the input and the value shown at opening.
    void setName(const QString& name) { m_name = name; }
    void setValue(int value) { m_value = value; }
    // After OK: the accepted value. After cancel: what it was before.
    [[nodiscard]] int value() const { return m_value; }

    void SetLanguage();

    // Showing fills the input once the dialog has given it the focus, which selects all of it.
    void setVisible(bool visible) override;

private:
    void FormShow();
    void cbWertChange(const QString& text);
    void bnUebernehmenClick();
    [[nodiscard]] QString valueText() const;
    [[nodiscard]] QString rangeError(int value) const;
    void addToHistory(int value);

    UserMessages& m_messages;
    QString m_name = QStringLiteral("-");
    int m_minimum = 0;
    int m_maximum = 255;
    int m_value = 0;
    int m_displayMode = 0;
    int m_digits = 2;
    int m_historyDigits = 2;

    QGroupBox* GroupBox1;
    QLabel* lblName;
    QLabel* Label2;
    QComboBox* cbWert;
    QPushButton* bnUebernehmen;
    QPushButton* bnAbbrechen;
};
