#include "Main.h"

#include "Bericht.h"
#include "Busmonitor.h"
#include "Fmgruppe.h"
#include "WindowListDelegate.h"
#include "buslink/SettingsFile.h"
#include "buslink/TelegramTrace.h"
#include "controller/Fenster.h"
#include "controller/core/BackupRead.h"
#include "core/HelpTopics.h"
#include "core/ListExport.h"
#include "groupunit/Gruppensg.h"
#include "report/ReportPdf.h"
#include "report/core/ReportRead.h"
#include "service/BackupFileDialog.h"
#include "service/Wertedit.h"
#include "service/core/Tools01.h"
#include "texts/BackupText.h"
#include "texts/Comportwahl.h"
#include "texts/Fortschritt.h"
#include "texts/Info.h"
#include "texts/QtTranslations.h"
#include "texts/ReportText.h"
#include "texts/Scan.h"
#include "texts/Sprachauswahl.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int kStartDelayMs = 200;
constexpr int kListExportCaption = 143;
constexpr int kStatusColumnMargin = 448;
// Keeps the report's site and technician beside the settings file.
const QString kReportDetailsFile = QStringLiteral("FenestrixBericht.ini");
constexpr int kDesignColumnWidths[kWindowListColumns] = {51, 166, 65, 75, 54, 60, 59, 124};
// Ctrl+N reveals the emergency addressing for the rest of the run.
constexpr Qt::Key kRevealKey = Qt::Key_N;

struct LanguageLayout {
    int windowWidth;
    int groupButtonWidth;
};

LanguageLayout layoutFor(int language)
{
    switch (language) {
    case Dutch:
        return {720, 111};
    case French:
        return {900, 111};
    case Spanish:
        return {900, 116};
    default:
        return {700, 111};
    }
}

} // namespace

TfmMain::TfmMain(Clock& clock, SerialPorts& ports, UserMessages& messages, QWidget* parent)
    : QMainWindow(parent), m_clock(clock), m_ports(ports), m_messages(messages),
      m_session(clock, ports, messages, this),
      m_addressing(clock, ports, m_session.bus(), m_list, *this)
{
    setObjectName(QStringLiteral("fmMain"));
    setWindowTitle(QStringLiteral("Veltra Fenestrix"));
    createActions();
    createMenus();
    createToolBar();
    createCentralWidget();

    statusConnection = new QLabel(QStringLiteral("Offline"), this);
    statusConnection->setObjectName(QStringLiteral("statusConnection"));
    statusConnection->setMinimumWidth(200);
    statusScan = new QLabel(this);
    statusScan->setObjectName(QStringLiteral("statusScan"));
    statusBar()->addWidget(statusConnection);
    statusBar()->addWidget(statusScan, 1);
    statusBar()->setAutoFillBackground(true);

    // The other windows live for the whole run and are shown when needed.
    m_info = std::make_unique<TfmInfo>(this);
    m_portDialog = std::make_unique<TfmComPortWahl>(ports, this);
    m_valueEdit = std::make_unique<TfmWertEdit>(messages, this);
    m_progress = std::make_unique<TfmFortschritt>(this);
    m_languageDialog = std::make_unique<Tfm_sprachauswahl>(this);
    m_groupDrive = std::make_unique<TfmGruppeFahren>(bus(), m_list, this);
    // The pictures of the controller window are run-time files of the program.
    m_controllerWindow = std::make_unique<TfmFenster>(m_session, m_controllerState,
                                                      QCoreApplication::applicationDirPath(), this);
    connect(m_controllerWindow.get(), &TfmFenster::infoRequested, this, &TfmMain::acInfoExecute);
    m_busMonitor = std::make_unique<TfmBusmonitor>(TelegramTrace::program(), m_messages, this);
    m_reportDialog = std::make_unique<TfmBericht>(this);
    connect(m_controllerWindow.get(), &TfmFenster::busMonitorRequested, this,
            [this] { showBusMonitor(m_controllerWindow.get()); });
    m_groupUnitWindow = std::make_unique<TfmGruppenSG>(bus(), clock, m_messages, this);
    connect(m_groupUnitWindow.get(), &TfmGruppenSG::infoRequested, this, &TfmMain::acInfoExecute);
    // The group drive waits the unit's new drive pause from now on.
    connect(m_groupUnitWindow.get(), &TfmGruppenSG::drivePauseChanged, this,
            [this](int seconds) { m_list.groupDrivePause = static_cast<uint8_t>(seconds); });
    m_scanDialog = std::make_unique<TfmScan>(this);
    connect(m_scanDialog.get(), &TfmScan::changeSettingsRequested, this, [this] {
        acComPortExecute();
        m_scanDialog->showSettings(connection().port(), static_cast<int>(connection().baud));
    });
    connect(&m_session, &BusSession::connectionChanged, this, &TfmMain::applyConnectionState);
    connect(&m_session, &BusSession::roundTripChanged, this, &TfmMain::showSecondPanel);

    m_startDelay = new QTimer(this);
    m_startDelay->setObjectName(QStringLiteral("Einschaltverzoegerung"));
    m_startDelay->setSingleShot(true);
    m_startDelay->setInterval(kStartDelayMs);
    connect(m_startDelay, &QTimer::timeout, this, &TfmMain::acBusScanExecute);
    m_startDelay->start();
    resize(700, 420);
    UpdateActions();
}

TfmMain::~TfmMain() = default;

void TfmMain::createActions()
{
    const auto action = [this](const char* name, QStyle::StandardPixmap icon) {
        auto* a = new QAction(style()->standardIcon(icon), QString(), this);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    acBeenden = action("acBeenden", QStyle::SP_DialogCloseButton);
    acInfo = action("acInfo", QStyle::SP_MessageBoxInformation);
    acInfo->setShortcut(Qt::Key_F1);
    acBusScan = action("acBusScan", QStyle::SP_BrowserReload);
    acWinListe = action("acWinListe", QStyle::SP_DialogSaveButton);
    acSichernAlle = action("acSichernAlle", QStyle::SP_DriveFDIcon);
    acBericht = action("acBericht", QStyle::SP_FileIcon);
    acFenster = action("acFenster", QStyle::SP_FileDialogDetailedView);
    acAdresse = action("acAdresse", QStyle::SP_ArrowRight);
    acNotAdr = action("acNotAdr", QStyle::SP_MessageBoxWarning);
    acComPort = action("acComPort", QStyle::SP_DriveNetIcon);
    acSprachauswahl = action("acSprachauswahl", QStyle::SP_FileDialogInfoView);
    acHilfethemen = action("acHilfethemen", QStyle::SP_DialogHelpButton);
    acBusmonitor = action("acBusmonitor", QStyle::SP_FileDialogContentsView);
    acNotAdr->setVisible(false);

    connect(acBeenden, &QAction::triggered, this, &QWidget::close);
    connect(acInfo, &QAction::triggered, this, &TfmMain::acInfoExecute);
    connect(acBusScan, &QAction::triggered, this, &TfmMain::acBusScanExecute);
    connect(acFenster, &QAction::triggered, this, &TfmMain::acFensterExecute);
    connect(acComPort, &QAction::triggered, this, &TfmMain::acComPortExecute);
    connect(acSprachauswahl, &QAction::triggered, this, &TfmMain::Sprachauswahl1Click);
    connect(acAdresse, &QAction::triggered, this, &TfmMain::acAdresseExecute);
    connect(acNotAdr, &QAction::triggered, this, &TfmMain::acNotAdrExecute);
    connect(acWinListe, &QAction::triggered, this, &TfmMain::acFensterListExecute);
    connect(acSichernAlle, &QAction::triggered, this, [this] {
        const QString path = ChooseBackupFile(this, BackupText::SaveBus, BackupFileUse::Save);
        if (!path.isEmpty())
            saveBusBackupTo(path);
    });
    connect(acBericht, &QAction::triggered, this, &TfmMain::acBerichtExecute);
    connect(acBusmonitor, &QAction::triggered, this, [this] { showBusMonitor(); });
    // The manuals are run-time files of the program.
    connect(acHilfethemen, &QAction::triggered, this, [this] {
        mnHilfethemenClick(QCoreApplication::applicationDirPath(), CurrentLanguage(), m_messages,
                           [](const QString& path) {
                               (void)QDesktopServices::openUrl(QUrl::fromLocalFile(path));
                           });
    });
}

void TfmMain::createMenus()
{
    Datei1 = menuBar()->addMenu(QString());
    Datei1->setObjectName(QStringLiteral("Datei1"));
    Datei1->addAction(acBericht);
    Datei1->addSeparator();
    Datei1->addAction(acBeenden);
    mnFenster = menuBar()->addMenu(QString());
    mnFenster->setObjectName(QStringLiteral("mnFenster"));
    mnFenster->addAction(acWinListe);
    mnFenster->addAction(acSichernAlle);
    mnFenster->addAction(acAdresse);
    mnFenster->addAction(acFenster);
    Einstellungen1 = menuBar()->addMenu(QString());
    Einstellungen1->setObjectName(QStringLiteral("Einstellungen1"));
    Einstellungen1->addAction(acComPort);
    Einstellungen1->addAction(acSprachauswahl);
    mnInfo = menuBar()->addMenu(QString());
    mnInfo->setObjectName(QStringLiteral("mnInfo"));
    mnInfo->addAction(acInfo);
    mnInfo->addAction(acHilfethemen);
    mnInfo->addAction(acBusmonitor);

    listMenu = new QMenu(this);
    listMenu->setObjectName(QStringLiteral("PopupMenu1"));
    listMenu->addAction(acAdresse);
    listMenu->addAction(acFenster);
}

void TfmMain::createToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto button = [bar](const char* name, QAction* action) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(name));
        b->setDefaultAction(action);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        bar->addWidget(b);
        return b;
    };
    tbBeenden = button("tbBeenden", acBeenden);
    bar->addSeparator();
    ToolButton1 = button("ToolButton1", acInfo);
    ToolButton3 = button("ToolButton3", acBusScan);
    ToolButton9 = button("ToolButton9", acWinListe);
    tbBericht = button("tbBericht", acBericht);
    ToolButton4 = button("ToolButton4", acFenster);
    tbTrenner2 = bar->addSeparator();
    tbTrenner2->setObjectName(QStringLiteral("tbTrenner2"));
    tbTrenner2->setVisible(false);
    QAction* emergency = bar->addWidget(ToolButton11 = new QToolButton(bar));
    ToolButton11->setObjectName(QStringLiteral("ToolButton11"));
    ToolButton11->setDefaultAction(acNotAdr);
    ToolButton11->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // The button's own visibility follows the action; its slot in the bar follows it too.
    connect(acNotAdr, &QAction::changed, emergency,
            [this, emergency] { emergency->setVisible(acNotAdr->isVisible()); });
    emergency->setVisible(false);
}

void TfmMain::createCentralWidget()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    GroupBox1 = new QGroupBox(central);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* groupLayout = new QVBoxLayout(GroupBox1);

    sgFenster = new QTableView(GroupBox1);
    sgFenster->setObjectName(QStringLiteral("sgFenster"));
    sgFenster->setModel(&m_list);
    sgFenster->setItemDelegate(new WindowListDelegate(sgFenster));
    sgFenster->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgFenster->setSelectionMode(QAbstractItemView::SingleSelection);
    sgFenster->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgFenster->setContextMenuPolicy(Qt::CustomContextMenu);
    sgFenster->verticalHeader()->hide();
    sgFenster->verticalHeader()->setDefaultSectionSize(20);
    sgFenster->horizontalHeader()->setHighlightSections(false);
    sgFenster->setWordWrap(false);
    for (int c = 0; c < kWindowListColumns; ++c)
        sgFenster->setColumnWidth(c, kDesignColumnWidths[c]);
    sgFenster->installEventFilter(this);
    connect(sgFenster, &QTableView::clicked, this, &TfmMain::UpdateActions);
    connect(sgFenster, &QTableView::doubleClicked, this, &TfmMain::acFensterExecute);
    connect(sgFenster, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { listMenu->popup(sgFenster->viewport()->mapToGlobal(at)); });
    connect(sgFenster->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TfmMain::UpdateActions);
    groupLayout->addWidget(sgFenster);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    const auto pushButton = [this](const char* name) {
        auto* b = new QPushButton(GroupBox1);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    bnGrAuf = pushButton("bnGrAuf");
    bnGrZu = pushButton("bnGrZu");
    bnGr50 = pushButton("bnGr50");
    bnNeuAdr = pushButton("bnNeuAdr");
    bnNeuAdrAbbr = pushButton("bnNeuAdrAbbr");
    bnNeuAdrAbbr->hide();
    connect(bnNeuAdr, &QPushButton::clicked, this, &TfmMain::bnNeuAdrClick);
    connect(bnNeuAdrAbbr, &QPushButton::clicked, this, &TfmMain::bnNeuAdrAbbrClick);
    for (QPushButton* b : {bnGrAuf, bnGrZu, bnGr50}) {
        b->setFixedWidth(layoutFor(German).groupButtonWidth);
        buttons->addWidget(b);
    }
    connect(bnGrAuf, &QPushButton::clicked, this, &TfmMain::bnGrAufClick);
    connect(bnGrZu, &QPushButton::clicked, this, &TfmMain::bnGrZuClick);
    connect(bnGr50, &QPushButton::clicked, this, &TfmMain::bnGr50Click);
    buttons->addStretch(1);
    buttons->addWidget(bnNeuAdr);
    buttons->addWidget(bnNeuAdrAbbr);
    groupLayout->addLayout(buttons);
    layout->addWidget(GroupBox1);
    setCentralWidget(central);
}

void TfmMain::ApplyLanguage()
{
    const auto set = [](QAction* a, int caption, int hint = -1) {
        a->setText(LanguageText(caption));
        a->setToolTip(hint >= 0 ? LanguageText(hint) : LanguageText(caption));
        a->setStatusTip(hint >= 0 ? LanguageText(hint) : QString());
    };
    set(acBeenden, 25, 271);
    set(acInfo, 116, 350);
    set(acBusScan, 89, 352);
    set(acWinListe, 143, 353);
    set(acNotAdr, 156);
    set(acComPort, 219);
    set(acSprachauswahl, 222);
    set(acHilfethemen, 430);
    acBusmonitor->setText(LanguageText(kTextBusMonitor));
    acSichernAlle->setText(BackupLanguageText(BackupText::SaveBus));
    acBericht->setText(ReportLanguageText(ReportText::Report));
    acBericht->setToolTip(ReportLanguageText(ReportText::ReportHint));
    acBericht->setStatusTip(ReportLanguageText(ReportText::ReportHint));
    set(acAdresse, 5);
    // "Eigenschaften": text 55 on the toolbar, text 54 in the menus.
    set(acFenster, 54, 354);
    ToolButton4->setText(LanguageText(55));
    GroupBox1->setTitle(LanguageText(94));
    bnGrAuf->setText(LanguageText(109));
    bnGrAuf->setToolTip(LanguageText(288));
    bnGrZu->setText(LanguageText(110));
    bnGrZu->setToolTip(LanguageText(290));
    bnGr50->setText(LanguageText(108));
    bnGr50->setToolTip(LanguageText(289) + QStringLiteral(" 50%"));
    bnNeuAdr->setText(LanguageText(readdressing() ? 242 : 401));
    bnNeuAdrAbbr->setText(LanguageText(2));
    Datei1->setTitle(LanguageText(273));
    mnFenster->setTitle(LanguageText(357));
    Einstellungen1->setTitle(LanguageText(58));
    mnInfo->setTitle(LanguageText(116));
    m_list.retranslate();
    if (m_summaryShown)
        setScanStatus(m_list.summary(), m_list.addressGap);
}

void TfmMain::AdjustLayout()
{
    const LanguageLayout l = layoutFor(CurrentLanguage());
    resize(l.windowWidth, height());
    for (QPushButton* b : {bnGrAuf, bnGrZu, bnGr50})
        b->setFixedWidth(l.groupButtonWidth);
}

void TfmMain::sprache_aendern()
{
    ApplyLanguage();
    m_languageDialog->SetLanguage();
    m_scanDialog->SetLanguage();
    m_portDialog->SetLanguage();
    m_groupDrive->SetLanguage();
    m_progress->SetLangage();
    m_info->SetLanguage();
    m_valueEdit->SetLanguage();
    m_controllerWindow->SetLanguage();
    m_groupUnitWindow->SetLanguage();
    m_busMonitor->SetLanguage();
    m_reportDialog->SetLanguage();
    bus().RenameParameters();
}

void TfmMain::adapt_windows()
{
    AdjustLayout();
    m_controllerWindow->SetSize();
    m_groupUnitWindow->SetSize();
}

template <typename Flow> auto TfmMain::runFlow(Flow&& flow)
{
    struct Guard {
        TfmMain* window;
        explicit Guard(TfmMain* w) : window(w)
        {
            ++window->m_flowDepth;
            window->UpdateActions();
        }
        ~Guard()
        {
            --window->m_flowDepth;
            window->UpdateActions();
        }
    } guard(this);
    return flow();
}

void TfmMain::showBusMonitor(QWidget* owner)
{
    m_busMonitor->showOver(owner ? owner : this);
}

void TfmMain::openGroupUnitWindow()
{
    // The opening reads with events running between its telegrams: the commands wait for it.
    if (runFlow([this] { return m_groupUnitWindow->FormShow(); }))
        m_groupUnitWindow->exec();
}

void TfmMain::openControllerWindow()
{
    m_controllerState.topHungArticle = m_topHungArticle;
    runFlow([this] { m_controllerWindow->FormShow(); });
    m_controllerWindow->exec();
}

void TfmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    sgFenster->setColumnWidth(kWindowListColumns - 1, std::max(60, width() - kStatusColumnMargin));
}

void TfmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    m_programDirectory = QDir::currentPath();
    const auto settings = ReadSettingsFile(kSettingsFileName);
    BusConnection start;
    if (settings)
        start = {settings->comPort, settings->baud, settings->gateway, settings->overNetwork};
    if (m_startPort)
        start.use(*m_startPort);
    m_session.setConnection(start);
    if (settings) {
        SetCurrentLanguage(settings->language);
        ApplyQtTranslations(CurrentLanguage());
        sprache_aendern();
        adapt_windows();
    } else {
        SetCurrentLanguage(German);
        ApplyQtTranslations(German);
        sprache_aendern();
    }
    // The first paint does not wait for the line to settle; nothing is sent before it has.
    (void)m_session.ConnectBus(CZuzev::Settle::BeforeFirstUse);
}

void TfmMain::closeEvent(QCloseEvent* event)
{
    // A settings file that cannot be written is left as it was; closing goes on.
    const BusConnection c = connection();
    (void)WriteSettingsFile(
        QDir(m_programDirectory).filePath(kSettingsFileName),
        Settings{c.comPort, c.baud, CurrentLanguage(), c.gateway, c.overNetwork});
    m_session.DisconnectBus(true);
    m_startDelay->stop();
    event->accept();
}

QString TfmMain::connectionStatus() const
{
    return statusConnection->text();
}

QString TfmMain::scanStatus() const
{
    return statusScan->text();
}

void TfmMain::ConnectBus()
{
    (void)m_session.ConnectBus();
}

void TfmMain::DisconnectBus(bool keepStatusText)
{
    m_session.DisconnectBus(keepStatusText);
}

void TfmMain::SendKeepAlive()
{
    m_session.SendKeepAlive();
}

void TfmMain::EnableEepromWrite()
{
    m_session.EnableEepromWrite();
}

void TfmMain::UpdatePage0Checksum()
{
    m_session.UpdatePage0Checksum();
}

void TfmMain::applyConnectionState()
{
    statusConnection->setText(m_session.statusText());
    UpdateActions();
}

int TfmMain::selectedRow() const
{
    const QModelIndex current = sgFenster->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TfmMain::selectRow(int row)
{
    sgFenster->selectRow(row);
    sgFenster->setCurrentIndex(m_list.index(row, 0));
    UpdateActions();
}

void TfmMain::UpdateActions()
{
    const int row = selectedRow();
    const TFensterInfo* device = m_list.device(row);
    const bool connected = bus().IsConnected();
    const bool idle = !flowRunning();
    const bool onDevice = device && connected && idle;
    acFenster->setEnabled(onDevice && !readdressing());
    mnFenster->setEnabled(onDevice && !readdressing());
    acAdresse->setEnabled(onDevice && !device->isGroupUnit());
    // At least two rows, whatever devices they hold; an empty list has none to drive.
    const bool group = m_list.deviceCount() > 1 && connected && !readdressing() && idle;
    for (QPushButton* b : {bnGrAuf, bnGrZu, bnGr50})
        b->setEnabled(group);
    // The scan disables "Beenden" and "Info" as well; readdressing keeps scan, export and
    // emergency addressing waiting.
    acBeenden->setEnabled(!m_scanRunning);
    acInfo->setEnabled(!m_scanRunning);
    for (QAction* a : {acBusScan, acWinListe, acNotAdr})
        a->setEnabled(idle && !readdressing());
    acSichernAlle->setEnabled(idle && connected && !readdressing());
    acBericht->setEnabled(idle && connected && !readdressing());
    acComPort->setEnabled(idle);
    bnNeuAdr->setEnabled(idle);
    bnNeuAdrAbbr->setEnabled(idle);
}

void TfmMain::acFensterExecute()
{
    // Double-click and Enter reach here too: they open a device only when the command may run.
    const TFensterInfo* device = m_list.device(selectedRow());
    if (!device || !acFenster->isEnabled())
        return;
    if (device->isGroupUnit()) {
        emit deviceWindowRequested(0);
        return;
    }
    bus().SetWindowAddress(device->address);
    m_topHungArticle = device->isTopHungArticle();
    m_openedLast = device->address;
    // A second "Eigenschaften" that arrives meanwhile finds the command disabled.
    runFlow([] { QApplication::processEvents(); });
    emit deviceWindowRequested(bus().GetWindowAddress());
}

void TfmMain::acFensterListExecute()
{
    const QString path = QFileDialog::getSaveFileName(
        this, LanguageText(kListExportCaption), QString(), QStringLiteral("Alle Dateien (*.*)"));
    if (path.isEmpty())
        return;
    runFlow([&] {
        ListExport exporter(bus(), m_list, *m_progress, m_messages,
                            [] { QApplication::processEvents(); });
        exporter.setProductionController(m_openedLast);
        (void)exporter.writeFile(path, QDate::currentDate());
    });
}

void TfmMain::saveBusBackupTo(const QString& path)
{
    const QList<int> controllers = m_list.controllerAddresses();
    if (controllers.isEmpty()) {
        m_messages.notice(BackupLanguageText(BackupText::SaveBus),
                          BackupLanguageText(BackupText::NoControllers));
        return;
    }
    runFlow([&] { (void)BackupRead(bus(), *this).save(controllers, path); });
}

void TfmMain::acBerichtExecute()
{
    if (!m_reportDialog->ask(QDir(m_programDirectory).filePath(kReportDetailsFile)))
        return;
    QFileDialog dialog(this, ReportLanguageText(ReportText::Report));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setNameFilter(ReportLanguageText(ReportText::FileType) + QStringLiteral(" (*.pdf)"));
    dialog.selectFile(ReportLanguageText(ReportText::Title) +
                      QDate::currentDate().toString(QStringLiteral(" yyyy-MM-dd")));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    writeReportTo(dialog.selectedFiles().first(), m_reportDialog->site(),
                  m_reportDialog->technician());
}

void TfmMain::writeReportTo(const QString& path, const QString& site, const QString& technician)
{
    runFlow([&] {
        ReportRead read(bus(), m_clock, *this);
        const ReportVisit visit{site, technician, QDateTime::currentDateTime(), connection()};
        (void)SaveReport(read, m_list, visit, path, m_messages);
    });
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == sgFenster && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        bool handled = false;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            acFensterExecute();
            handled = true;
        } else if (key->key() == kRevealKey && key->modifiers() == Qt::ControlModifier) {
            revealEmergencyAddressing();
            handled = true;
        }
        if (handled) {
            UpdateActions();
            return true;
        }
        const bool result = QMainWindow::eventFilter(watched, event);
        QTimer::singleShot(0, this, &TfmMain::UpdateActions);
        return result;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfmMain::revealEmergencyAddressing()
{
    acNotAdr->setVisible(true);
    tbTrenner2->setVisible(true);
}

void TfmMain::acInfoExecute()
{
    m_info->exec();
}

void TfmMain::acComPortExecute()
{
    DisconnectBus(false);
    const BusConnection before = connection();
    m_portDialog->setSettings(before.comPort, static_cast<int>(before.baud));
    m_portDialog->setGateway(before.gateway, before.overNetwork);
    m_portDialog->exec();
    m_session.setConnection({m_portDialog->port(), static_cast<uint32_t>(m_portDialog->baud()),
                             m_portDialog->gateway(), m_portDialog->overNetwork()});
    // A gateway that does not connect says why; a COM port that does not open shows "Offline".
    if (!m_session.ConnectBus() && connection().port().network())
        m_messages.error(m_session.notConnectedText());
}

void TfmMain::Sprachauswahl1Click()
{
    m_languageDialog->selectLanguage(CurrentLanguage());
    if (m_languageDialog->exec() != QDialog::Accepted)
        return;
    SetCurrentLanguage(m_languageDialog->chosenLanguage());
    ApplyQtTranslations(CurrentLanguage());
    sprache_aendern();
    adapt_windows();
}

void TfmMain::acBusScanExecute()
{
    const ScanResult result = runFlow([this] {
        BusScan scan(m_clock, m_ports, bus(), m_list, *this);
        return scan.run(connection());
    });
    m_summaryShown = true;
    // The list was filled anew: its first device becomes the current row.
    if (result.portOpened && m_list.deviceCount() > 0)
        selectRow(0);
    UpdateActions();
}

void TfmMain::setScanCommandsEnabled(bool enabled)
{
    m_scanRunning = !enabled;
    UpdateActions();
}

bool TfmMain::confirmScanStart()
{
    m_scanDialog->showSettings(connection().port(), static_cast<int>(connection().baud));
    return m_scanDialog->exec() == QDialog::Accepted;
}

void TfmMain::processEvents()
{
    QApplication::processEvents();
}

void TfmMain::setScanStatus(const QString& text, bool alarm)
{
    m_summaryShown = false;
    m_scanText = text;
    showSecondPanel();
    QPalette palette = statusBar()->palette();
    palette.setColor(QPalette::Window,
                     alarm ? QColor(Qt::red) : QApplication::palette().color(QPalette::Window));
    statusBar()->setPalette(palette);
}

void TfmMain::showSecondPanel()
{
    const QString roundTrip = m_session.roundTripText();
    statusScan->setText(roundTrip.isEmpty() || m_scanText.isEmpty()
                            ? m_scanText + roundTrip
                            : m_scanText + QStringLiteral("  \u2013  ") + roundTrip);
}

ProgressReporter& TfmMain::progress()
{
    return *m_progress;
}

void TfmMain::setProgressStatus(const QString& text)
{
    setScanStatus(text, false);
}

std::optional<int> TfmMain::askNewAddress(int currentAddress)
{
    m_valueEdit->Configure(1, 30, 1, 2);
    m_valueEdit->setName(LanguageText(153));
    m_valueEdit->setValue(currentAddress);
    if (m_valueEdit->exec() != QDialog::Accepted)
        return std::nullopt;
    return m_valueEdit->value();
}

void TfmMain::acAdresseExecute()
{
    runFlow([this] { m_addressing.changeAddress(selectedRow()); });
}

void TfmMain::setReaddressingControls(bool on)
{
    bnNeuAdrAbbr->setVisible(on);
    bnNeuAdr->setText(LanguageText(on ? 242 : 401));
    UpdateActions();
}

void TfmMain::bnNeuAdrClick()
{
    if (!readdressing()) {
        m_addressing.enterReaddressing();
        setReaddressingControls(true);
        UpdateActions();
        return;
    }
    const bool written = runFlow([this] { return m_addressing.applyReaddressing(); });
    UpdateActions();
    if (!written)
        return;
    setReaddressingControls(false);
    acBusScanExecute();
}

void TfmMain::bnNeuAdrAbbrClick()
{
    m_addressing.abortReaddressing();
    setReaddressingControls(false);
}

void TfmMain::acNotAdrExecute()
{
    using End = BusAddressing::EmergencyEnd;
    const End end = runFlow([this] { return m_addressing.emergencyAddressing(connection()); });
    // The list is scanned again unless nothing was started or the port did not open.
    if (end == End::Finished || end == End::WrongAnswer)
        acBusScanExecute();
}

void TfmMain::bnGrAufClick()
{
    m_groupDrive->setDriveKind(GroupOpen);
    runFlow([this] { m_groupDrive->exec(); });
}

void TfmMain::bnGrZuClick()
{
    m_groupDrive->setDriveKind(GroupClose);
    runFlow([this] { m_groupDrive->exec(); });
}

void TfmMain::bnGr50Click()
{
    m_groupDrive->setDriveKind(GroupHalfOpen);
    runFlow([this] { m_groupDrive->exec(); });
}
