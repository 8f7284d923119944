// The production data dialog: the in-circuit and final test data the factory stored in the
// controller, read each time the dialog is shown; it only reads.
#pragma once

#include <QDialog>

class QGridLayout;
class QGroupBox;
class QPushButton;
class TFensterSteuerung;

class TfmProdDaten final : public QDialog {
    Q_OBJECT
public:
    explicit TfmProdDaten(TFensterSteuerung& bus, QWidget* parent = nullptr);

    void SetLanguage();
    // Shows the data of the controller with this address text; an open dialog is only raised.
    void showFor(const QString& addressText);

private:
    void FormShow(const QString& addressText);

    TFensterSteuerung& m_bus;
    QGroupBox* GB;
    QGroupBox* GroupBox1;
    QPushButton* bnSchliessen;
};
