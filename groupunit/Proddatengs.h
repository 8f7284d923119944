// The group control unit's production data dialog: in-circuit test, final test and firmware
// date, read each time it is shown; it only reads.
#pragma once

#include <QDialog>

class QGroupBox;
class QPushButton;
class TFensterSteuerung;

class TfmProdDatenGS final : public QDialog {
    Q_OBJECT
public:
    explicit TfmProdDatenGS(TFensterSteuerung& bus, QWidget* parent = nullptr);

    void SetLanguage();
    // Shows the dialog without blocking and reads the data again.
    void FormShow();

private:
    TFensterSteuerung& m_bus;
    QGroupBox* GB;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    QPushButton* bnSchliessen;
};
