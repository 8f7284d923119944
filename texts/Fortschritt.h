// The progress dialog of the long flows (bus scan, EEPROM write-back, addressing, export): a
// label, a progress bar and an optional cancel button that only raises the abort flag.
#pragma once

#include "ProgressReporter.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class TfmFortschritt final : public QDialog, public ProgressReporter {
    Q_OBJECT
public:
    explicit TfmFortschritt(QWidget* parent = nullptr);

    // Position 0, label, maximum and cancel button of `kind`, abort flag cleared. The maximum is
    // fixed for the bus scan (31), the EEPROM write-back (256) and the emergency addressing (31);
    // for the readdressing `maximum` is the number of list entries and the bar runs to twice
    // that; for the export (and any other kind) it is `maximum` itself.
    void PrepareProgress(int kind, int maximum) override;
    // Shows the dialog without blocking; the caller lets the user interface update.
    void showProgress() override;
    void setPosition(int position) override;
    [[nodiscard]] bool aborted() const override { return m_aborted; }
    void closeProgress() override;

    void SetLangage();

protected:
    // Escape and a close request from the window manager act as the cancel button: only the
    // caller closes the dialog.
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void bnAbbrechenClick();

    bool m_aborted = false;

    QLabel* lblBeschriftung;
    QProgressBar* ProgressBar;
    QPushButton* bnAbbrechen;
};
