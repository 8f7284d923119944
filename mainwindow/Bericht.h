// The report dialog: asks for the site and the technician before a commissioning report and
// keeps both for the next run in a small file of their own.
#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

class TfmBericht final : public QDialog {
    Q_OBJECT
public:
    explicit TfmBericht(QWidget* parent = nullptr);

    void SetLanguage();
    // Shows the answers kept in `storePath` for a change; true when the user went on, and the
    // answers are then kept there.
    [[nodiscard]] bool ask(const QString& storePath);
    [[nodiscard]] QString site() const;
    [[nodiscard]] QString technician() const;

private:
    QLabel* lblStandort;
    QLineEdit* edStandort;
    QLabel* lblTechniker;
    QLineEdit* edTechniker;
    QDialogButtonBox* bnButtons;
};
