// The comparison view: the bytes in which the open controller differs from a backup, side by side,
// with the backup's date and controller above them and their count below.
#pragma once

#include "controller/core/BackupCompare.h"

#include <QDialog>

class QLabel;
class QTableWidget;

class TfmVergleich final : public QDialog {
    Q_OBJECT
public:
    explicit TfmVergleich(QWidget* parent = nullptr);

    // Shows the differences of the controller from the backup of `saved` made at `savedAt`; the
    // caller then shows the dialog.
    void showDifferences(const QDateTime& savedAt, const ControllerIdentity& saved,
                         const QList<ByteDifference>& differences);

private:
    void SetLanguage();

    QLabel* lblSicherung;
    QTableWidget* sgVergleich;
    QLabel* lblUnterschiede;
};
