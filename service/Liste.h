// The status list: every entry of the parameter table with its value as read by the last fill;
// the controller window runs the fill, from its tool bar and from "Aktualisieren".
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

class TfmListe final : public QDialog {
    Q_OBJECT
public:
    explicit TfmListe(QWidget* parent = nullptr);

    void SetLanguage();
    // A fill starts for the controller with this address text: the button waits for its end.
    void beginFill(const QString& addressText);
    void showEntry(int index, const QString& name, const QString& value);
    void endFill();

signals:
    // "Aktualisieren".
    void fillRequested();

private:
    QLabel* lblAdresse;
    QTableWidget* sgListe;
    QPushButton* bnAktualisieren;
};
