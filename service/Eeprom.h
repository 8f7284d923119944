// The EEPROM dialog: the controller's EEPROM page by page with a description of every byte and
// the page checksum, and the write-back of the checksums of the pages shown.
#pragma once

#include "service/core/EepromPages.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TfmFortschritt;

class TfmEeprom final : public QDialog, private EepromFlowHost {
    Q_OBJECT
public:
    TfmEeprom(TFensterSteuerung& bus, Clock& clock, UserMessages& messages,
              QWidget* parent = nullptr);
    ~TfmEeprom() override;

    void SetLanguage();
    // Reads the page chosen last, of the controller with this variant byte and type; the caller
    // then shows the dialog modally.
    void FormShow(int variantByte, int controllerType, const QString& programDirectory);
    // Saves the controller's settings to a backup file at `path` (the "Sichern" button).
    void saveBackupTo(const QString& path);

protected:
    // Nothing closes the dialog while the write-back or a backup runs.
    void done(int result) override;

private:
    void processEvents() override;
    ProgressReporter& progress() override;
    UserMessages& messages() override;

    void cbSeiteChange(int page);
    void bnLesenClick();
    void bnUebernehmenClick();
    void showPage(const EepromPageView& view);
    void setWriting(bool writing);
    [[nodiscard]] EepromPageView busy(const std::function<EepromPageView()>& read);

    TFensterSteuerung& m_bus;
    EepromPages m_pages;
    UserMessages& m_messages;
    std::unique_ptr<TfmFortschritt> m_progress;
    bool m_writing = false;

    QComboBox* cbSeite;
    QTableWidget* sgTabelle;
    QPushButton* bnLesen;
    QPushButton* bnSichern;
    QPushButton* bnUebernehmen;
    QPushButton* bnAbbrechen;
    QPushButton* bnZurueck;
    QLabel* m_checksum;
};
