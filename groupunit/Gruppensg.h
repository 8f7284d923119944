// The group control unit dialog: its status values and settings, read on every showing, and the
// apply that writes only the changed settings; "Prod. Daten" opens its production data.
#pragma once

#include "groupunit/core/GroupUnitSettings.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QSpinBox;
class TfmProdDatenGS;

class TfmGruppenSG final : public QDialog, private GroupUnitHost {
    Q_OBJECT
public:
    TfmGruppenSG(TFensterSteuerung& bus, Clock& clock, UserMessages& messages,
                 QWidget* parent = nullptr);
    ~TfmGruppenSG() override;

    void SetLanguage();
    void SetSize();
    // The read sequence; false after text 348, when the dialog is not to be shown.
    [[nodiscard]] bool FormShow();

signals:
    // "Info" runs the main window's action.
    void infoRequested();
    // A new drive pause was written to the unit.
    void drivePauseChanged(int seconds);

private:
    UserMessages& messages() override { return m_messages; }
    void setGroupDrivePause(int seconds) override { emit drivePauseChanged(seconds); }

    void createToolBar();
    QWidget* createStatusGroup();
    QWidget* createSettingsGroup();
    void fillLists();
    // The entries of input X16; a language change keeps its selection, an opening clears it.
    void rebuildX16(bool extended, bool keepSelection);
    void apply(const GroupUnitReading& reading);
    void bnUebernehmenClick();
    void inputFunctionChange(QComboBox* changed, QComboBox* other, int index);
    [[nodiscard]] QComboBox* list(GroupUnitList which) const;

    GroupUnitSettings m_settings;
    UserMessages& m_messages;
    std::unique_ptr<TfmProdDatenGS> m_productionData;
    bool m_extended = true;
    QSpinBox* udFahrpause;
};
