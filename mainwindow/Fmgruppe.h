// The group drive: every controller of the window list driven open, closed or half open, one
// after another with a pause between two commands, in a small dialog with countdown and progress.
#pragma once

#include "core/GroupDrive.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QShowEvent;
class QStatusBar;
class QTimer;
class TFensterSteuerung;
class WindowListModel;

class TfmGruppeFahren final : public QDialog {
    Q_OBJECT
public:
    TfmGruppeFahren(TFensterSteuerung& bus, WindowListModel& list, QWidget* parent = nullptr);

    // Set by the main window before the dialog is shown.
    void setDriveKind(int driveKind) { m_driveKind = driveKind; }
    [[nodiscard]] int driveKind() const { return m_driveKind; }

    void SetLanguage();
    // Each showing starts idle at the first row, with the progress at 0.
    void FormShow();
    // "Starten" starts the sequence; "Abbrechen" stops it and closes the dialog.
    void bnStartStopClick();
    // One 500 ms step of a running sequence.
    void TimerTimer();

    // Every way of closing the dialog (button, last row, close box, Escape) stops the sequence.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    [[nodiscard]] int pauseTicks() const;

    WindowListModel& m_list;
    GroupDriveSequence m_sequence;
    int m_driveKind = GroupOpen;

    QGroupBox* gbFahrpause;
    QRadioButton* rb3Sek;
    QRadioButton* rbGSSek;
    QGroupBox* gbFortschritt;
    QProgressBar* ProgressBar;
    QStatusBar* StatusBar;
    QLabel* statusPanel;
    QPushButton* bnStartStop;
    QTimer* Timer;
};
