// The main window: owns the access object and the connection settings, shows the window list
// and the connection state, drives polling and keep-alive, and starts the bus flows.
#pragma once

#include "controller/core/ControllerState.h"
#include "core/Addressing.h"
#include "core/BusScan.h"
#include "core/BusSession.h"
#include "core/WindowListModel.h"
#include "service/core/EepromFlowHost.h"

#include <QMainWindow>
#include <QTimer>

#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;
class QToolButton;
class TfmComPortWahl;
class TfmFenster;
class TfmGruppeFahren;
class TfmFortschritt;
class TfmGruppenSG;
class TfmBusmonitor;
class TfmBericht;
class TfmInfo;
class TfmScan;
class TfmWertEdit;
class Tfm_sprachauswahl;

class TfmMain final : public QMainWindow,
                      private BusScanHost,
                      private AddressingHost,
                      private EepromFlowHost {
    Q_OBJECT
public:
    TfmMain(Clock& clock, SerialPorts& ports, UserMessages& messages, QWidget* parent = nullptr);
    ~TfmMain() override;

    TFensterSteuerung& bus() { return m_session.bus(); }
    WindowListModel& windowList() { return m_list; }

    void ConnectBus() override;
    void DisconnectBus(bool keepStatusText) override;
    void SendKeepAlive() override;
    void EnableEepromWrite();
    void UpdatePage0Checksum();
    void sprache_aendern();
    void adapt_windows();
    void UpdateActions();

    // The whole bus scan, as the toolbar's "Fenster suchen" runs it.
    void acBusScanExecute();
    void acFensterExecute();
    // Shows the controller window modally for the current window address.
    void openControllerWindow();
    [[nodiscard]] TfmFenster& controllerWindow() { return *m_controllerWindow; }
    // Shows the group control unit dialog modally once its values could be read.
    void openGroupUnitWindow();
    [[nodiscard]] TfmGruppenSG& groupUnitWindow() { return *m_groupUnitWindow; }
    // Shows the bus monitor over `owner` (the main window when none).
    void showBusMonitor(QWidget* owner = nullptr);
    [[nodiscard]] TfmBusmonitor& busMonitor() { return *m_busMonitor; }
    // "Liste erstellen": the save dialog, then the report of today to the chosen file.
    void acFensterListExecute();
    // Saves the settings of every controller in the list to one backup file at `path`.
    void saveBusBackupTo(const QString& path);
    // "Bericht": site and technician, the save dialog, then the commissioning report.
    void acBerichtExecute();
    // The commissioning report of the list, made now, to the PDF file at `path`.
    void writeReportTo(const QString& path, const QString& site, const QString& technician);
    void acComPortExecute();
    void acInfoExecute();
    void Sprachauswahl1Click();
    void acAdresseExecute();
    void bnNeuAdrClick();
    void bnNeuAdrAbbrClick();
    void acNotAdrExecute();
    void bnGrAufClick();
    void bnGrZuClick();
    void bnGr50Click();

    [[nodiscard]] BusConnection connection() const { return m_session.connection(); }
    // The port to start on instead of the settings file's (the command line's --port).
    void setStartPort(const BusPort& port) { m_startPort = port; }
    [[nodiscard]] bool topHungArticle() const { return m_topHungArticle; }
    [[nodiscard]] bool readdressing() const { return m_addressing.readdressing(); }
    // A scan, an addressing flow, a group drive or an export is running.
    [[nodiscard]] bool flowRunning() const { return m_flowDepth > 0 || m_scanRunning; }
    [[nodiscard]] QString connectionStatus() const;
    [[nodiscard]] QString scanStatus() const;
    // The selected device row (0-based), or -1.
    [[nodiscard]] int selectedRow() const;
    void selectRow(int row);

signals:
    // "Eigenschaften" chose a device: the group control unit (address 0) or a controller.
    void deviceWindowRequested(int address);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the bus scan asks of this window.
    void setScanCommandsEnabled(bool enabled) override;
    bool confirmScanStart() override;
    void processEvents() override;
    void setScanStatus(const QString& text, bool alarm) override;
    // What the addressing flows ask of this window.
    void setProgressStatus(const QString& text) override;
    std::optional<int> askNewAddress(int currentAddress) override;
    void setReaddressingControls(bool readdressing);
    ProgressReporter& progress() override;
    UserMessages& messages() override { return m_messages; }

    // Runs a flow with every command that uses the bus or changes the list disabled.
    template <typename Flow> auto runFlow(Flow&& flow);
    void applyConnectionState();
    // The second status panel: the scan's or a flow's text, and a slow network round trip.
    void showSecondPanel();
    void createActions();
    void createMenus();
    void createToolBar();
    void createCentralWidget();
    void ApplyLanguage();
    void AdjustLayout();
    void revealEmergencyAddressing();

    Clock& m_clock;
    SerialPorts& m_ports;
    UserMessages& m_messages;
    BusSession m_session;
    WindowListModel m_list;
    BusAddressing m_addressing;

    QString m_programDirectory;
    bool m_topHungArticle = false;
    // The controller opened last with "Eigenschaften"; the export describes it.
    std::optional<int> m_openedLast;
    bool m_shownOnce = false;
    bool m_scanRunning = false;
    int m_flowDepth = 0;
    // The second status panel shows the list summary, which follows the language.
    bool m_summaryShown = false;
    QString m_scanText;
    std::optional<BusPort> m_startPort;

    QTimer* m_startDelay = nullptr;

    QAction* acBusScan = nullptr;
    QAction* acInfo = nullptr;
    QAction* acComPort = nullptr;
    QAction* acFenster = nullptr;
    QAction* acAdresse = nullptr;
    QAction* acWinListe = nullptr;
    QAction* acSichernAlle = nullptr;
    QAction* acBericht = nullptr;
    QAction* acNotAdr = nullptr;
    QAction* acBeenden = nullptr;
    QAction* acHilfethemen = nullptr;
    QAction* acBusmonitor = nullptr;
    QAction* acSprachauswahl = nullptr;
    QAction* tbTrenner2 = nullptr;
    QMenu* Datei1 = nullptr;
    QMenu* mnFenster = nullptr;
    QMenu* Einstellungen1 = nullptr;
    QMenu* mnInfo = nullptr;
    QMenu* listMenu = nullptr;
    QToolButton* tbBeenden = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QToolButton* ToolButton9 = nullptr;
    QToolButton* tbBericht = nullptr;
    QToolButton* ToolButton4 = nullptr;
    QToolButton* ToolButton11 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QTableView* sgFenster = nullptr;
    QPushButton* bnGrAuf = nullptr;
    QPushButton* bnGrZu = nullptr;
    QPushButton* bnGr50 = nullptr;
    QPushButton* bnNeuAdr = nullptr;
    QPushButton* bnNeuAdrAbbr = nullptr;
    QLabel* statusConnection = nullptr;
    QLabel* statusScan = nullptr;

    std::unique_ptr<TfmInfo> m_info;
    std::unique_ptr<TfmComPortWahl> m_portDialog;
    std::unique_ptr<TfmWertEdit> m_valueEdit;
    std::unique_ptr<TfmFortschritt> m_progress;
    std::unique_ptr<Tfm_sprachauswahl> m_languageDialog;
    std::unique_ptr<TfmScan> m_scanDialog;
    std::unique_ptr<TfmGruppeFahren> m_groupDrive;
    // What the controller window knows outlives each showing.
    ControllerState m_controllerState;
    std::unique_ptr<TfmFenster> m_controllerWindow;
    std::unique_ptr<TfmGruppenSG> m_groupUnitWindow;
    std::unique_ptr<TfmBusmonitor> m_busMonitor;
    std::unique_ptr<TfmBericht> m_reportDialog;
};
