// The info dialog: product name, edition and version, the support telephone number and the logo;
// closed only with its OK button.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TfmInfo final : public QDialog {
    Q_OBJECT
public:
    explicit TfmInfo(QWidget* parent = nullptr);

    void SetLanguage();

protected:
    // Escape does not close the dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* Label2;
    QLabel* Label3;
    QLabel* lblService;
    QLabel* lblVersion;
    QLabel* Label4;
    QLabel* Image1;
    QPushButton* Button1;
};
