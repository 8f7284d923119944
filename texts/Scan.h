// The bus-scan start dialog: shows the port the scan will use, lets the user change it, and
// starts or cancels the scan. Large with the product pictures the first time, compact after.
#pragma once

#include "platform/BusPort.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

class TfmScan final : public QDialog {
    Q_OBJECT
public:
    explicit TfmScan(QWidget* parent = nullptr);

    // The port and baud rate shown; set before showing and again after a change of settings.
    void showSettings(const BusPort& port, int baud);

    void SetLanguage();

    // Any closing switches the dialog to its compact form for good.
    void done(int result) override;

signals:
    // "Einstellungen ändern": the main window runs its port action, then calls showSettings.
    void changeSettingsRequested();

protected:
    void showEvent(QShowEvent* event) override;
    // Escape cancels only where there is a cancel button: the first, large showing always leads
    // to the start-up scan.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void makeCompact();

    QGroupBox* GroupBox2;
    QLabel* Label1;
    QLabel* lblPort;
    QLabel* Label2;
    QLabel* lblBaud;
    QPushButton* bnAendern;
    QGroupBox* gbBild;
    QLabel* imFoto;
    QLabel* imLogo;
    QPushButton* bnStart;
    QPushButton* bnAbbrechen;
};
