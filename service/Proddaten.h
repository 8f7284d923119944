// The production data dialog: the in-circuit and final test data the factory stored in the
// controller, read each time the dialog is shown; it only reads.
#pragma once

#include <QDialog>

#include <span>

class QGridLayout;
class QGroupBox;
class QPushButton;
class TFensterSteuerung;

class TfmProdDaten final : public QDialog {
    Q_OBJECT
public:
    explicit TfmProdDaten(TFensterSteuerung& bus, QWidget* parent = nullptr);

    // A value label and the caption label beside it.
    struct Row {
        const char* value;
        const char* caption;
    };

    void SetLanguage();
    // Shows the data of the controller with this address text; an open dialog is only raised.
    void showFor(const QString& addressText);

private:
    void FormShow(const QString& addressText);
    static void addRows(QGroupBox* group, std::span<const Row> rows);

    TFensterSteuerung& m_bus;
    QGroupBox* GB;
    QGroupBox* GroupBox1;
    QPushButton* bnSchliessen;
};
