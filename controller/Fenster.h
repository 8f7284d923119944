// The controller window: one controller's live state, picture and settings. It applies what the
// refresh in controller/core produced to its controls and runs the refresh timer.
#pragma once

#include "controller/core/BackupFlows.h"
#include "controller/core/ControllerActionHost.h"
#include "controller/core/ControllerCommands.h"
#include "controller/core/ControllerRefresh.h"
#include "controller/core/SettingEdits.h"
#include "service/core/EepromFlowHost.h"
#include "service/core/StatusList.h"

#include <QDialog>
#include <QKeySequence>
#include <QList>
#include <QPixmap>

#include <functional>
#include <memory>

class QLabel;
class QStatusBar;
class QTimer;
class BusSession;

// Shows and hides the hidden service button; one modifier with one letter, kept fixed.
inline const QKeySequence kServiceKey(Qt::CTRL | Qt::Key_K);

class TfmEeprom;
class TfmFortschritt;
class TfmVergleich;
class TfmErrList;
class TfmListe;
class TfmProdDaten;
class TfmTrend;

class TfmFenster final : public QDialog,
                         private RefreshHost,
                         private ControllerActionHost,
                         private StatusListHost,
                         private EepromFlowHost {
    Q_OBJECT
public:
    // `programDirectory` is the program's folder; the picture files are its run-time files.
    TfmFenster(BusSession& session, ControllerState& state, QString programDirectory,
               QWidget* parent = nullptr);
    ~TfmFenster() override;

    void SetLanguage();
    void SetSize();
    // The opening: reads, the first refresh, the refresh timer. The caller then shows the window
    // modally.
    void FormShow();
    // One tick of the refresh timer.
    void TimerTimer();

    // The backup commands with the file the user chose.
    void saveBackupTo(const QString& path);
    void compareWith(const QString& path);
    void restoreFrom(const QString& path);

signals:
    // "Info" runs the main window's action.
    void infoRequested();
    // "Busmonitor" shows the main window's bus monitor over this window.
    void busMonitorRequested();

protected:
    void done(int result) override;
    // The jog buttons' press and release, and the click on the raw Hall value.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void processEvents() override;
    [[nodiscard]] ProgressReporter& progress() override;
    [[nodiscard]] bool closed() const override { return !m_open; }
    [[nodiscard]] bool rollerTestRunning() const override;
    void reconnect() override;

    UserMessages& messages() override;
    void stopRefreshTimer() override;
    void startRefreshTimer() override;
    void startRollerTimer() override;
    void stopRollerTimer() override;
    [[nodiscard]] bool rollerTimerActive() const override;

    [[nodiscard]] bool stopped() const override { return !m_open; }
    void showEntry(int index, const QString& name, const QString& value) override;

    // Runs a command or edit; one given while the refresh or the status list's fill reads runs
    // when that is done, so that no flow starts inside another.
    void act(std::function<void()> action);
    void runDeferred();
    // One refresh step with the commands held back meanwhile.
    [[nodiscard]] RefreshResult refreshing(const std::function<RefreshResult()>& step);
    void connectServiceDialogs();
    void acEKSExecute();
    void tbStListeClick();
    void closeServiceDialogs();
    void connectBackupCommands();
    // Runs a backup command with the refresh and polling paused and the window's controls
    // disabled, so that nothing else reaches the bus until it is done; `flow` says whether it
    // wrote settings, which the window then reads as at its opening.
    void runBackupFlow(const std::function<bool()>& flow);
    void connectCommands();
    void connectSettingEdits();
    void connectButton(const char* name, std::function<void()> action);

    void SRollenTimer();
    void fmFensterServiceKey();
    void cbKippAntrChange(int position);
    void pwmChange(PwmDirection direction, int position);
    void Button1Click();

    void createToolBar(class QVBoxLayout* layout);
    QWidget* createStateColumn();
    QWidget* createDriveColumn();
    QWidget* createInfoColumn();
    void apply(const RefreshResult& result);
    void applyView(const ControllerView& view);
    void applyPicture(const PictureRebuild& rebuild, const std::optional<PictureOverlay>& radio);
    void drawIcon(LockElement element, LockingIcon icon);
    [[nodiscard]] QPixmap iconPixmap(LockingIcon icon) const;

    BusSession& m_session;
    ControllerState& m_state;
    QString m_programDirectory;
    ControllerRefresh m_refresh;
    ControllerCommands m_commands;
    SettingEdits m_edits;
    BackupFlows m_backup;
    bool m_open = false;
    // The refresh or the status list's fill reads and lets events run between its telegrams.
    bool m_flowRunning = false;
    // A backup command runs; the window stays open until it is done.
    bool m_backupRunning = false;
    QList<std::function<void()>> m_deferred;

    QTimer* Timer = nullptr;
    QTimer* RollenTimer = nullptr;
    QLabel* imFenster = nullptr;
    std::unique_ptr<TfmEeprom> m_eeprom;
    std::unique_ptr<TfmProdDaten> m_productionData;
    std::unique_ptr<TfmErrList> m_eventList;
    std::unique_ptr<TfmListe> m_statusList;
    std::unique_ptr<TfmFortschritt> m_progress;
    std::unique_ptr<TfmVergleich> m_comparison;
    std::unique_ptr<TfmTrend> m_trend;
    QAction* m_serviceButton = nullptr;
    QAction* m_serviceSeparator = nullptr;
    QStatusBar* StatusBar = nullptr;
};
