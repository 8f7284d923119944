#include "Main.h"

#include "Fmgruppe.h"
#include "HelpTopics.h"
#include "ListExport.h"
#include "WindowListDelegate.h"
#include "service/Tools01.h"
#include "service/Wertedit.h"
#include "texts/Comportwahl.h"
#include "texts/Fortschritt.h"
#include "texts/Info.h"
#include "texts/Scan.h"
#include "texts/Sprachauswahl.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
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
#include <QVBoxLayout>

namespace {

constexpr int kPollPeriodMs = 200;
constexpr int kKeepAliveTicks = 3;
constexpr int kStartDelayMs = 200;
constexpr int kStatusColumnMargin = 448;
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
      m_bus(clock, ports), m_addressing(clock, ports, m_bus, m_list, *this)
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
    m_groupDrive = std::make_unique<TfmGruppeFahren>(m_bus, m_list, this);
    m_scanDialog = std::make_unique<TfmScan>(this);
    connect(m_scanDialog.get(), &TfmScan::changeSettingsRequested, this, [this] {
        acComPortExecute();
        m_scanDialog->showSettings(m_comPort, static_cast<int>(m_baud));
    });

    m_pollTimer = new QTimer(this);
    m_pollTimer->setObjectName(QStringLiteral("Timer"));
    m_pollTimer->setInterval(kPollPeriodMs);
    connect(m_pollTimer, &QTimer::timeout, this, &TfmMain::TimerTimer);
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
    acFenster = action("acFenster", QStyle::SP_FileDialogDetailedView);
    acAdresse = action("acAdresse", QStyle::SP_ArrowRight);
    acNotAdr = action("acNotAdr", QStyle::SP_MessageBoxWarning);
    acComPort = action("acComPort", QStyle::SP_DriveNetIcon);
    acSprachauswahl = action("acSprachauswahl", QStyle::SP_FileDialogInfoView);
    acHilfethemen = action("acHilfethemen", QStyle::SP_DialogHelpButton);
    acNotAdr->setVisible(false);

    connect(acBeenden, &QAction::triggered, this, &QWidget::close);
    connect(acInfo, &QAction::triggered, this, &TfmMain::acInfoExecute);
    connect(acBusScan, &QAction::triggered, this, &TfmMain::acBusScanExecute);
    connect(acFenster, &QAction::triggered, this, &TfmMain::acFensterExecute);
    connect(acComPort, &QAction::triggered, this, &TfmMain::acComPortExecute);
    connect(acSprachauswahl, &QAction::triggered, this, &TfmMain::Sprachauswahl1Click);
    connect(acAdresse, &QAction::triggered, this, &TfmMain::acAdresseExecute);
    connect(acNotAdr, &QAction::triggered, this, &TfmMain::acNotAdrExecute);
    connect(acWinListe, &QAction::triggered, this,
            [this] { acFensterListExecute(this, m_bus, m_list, *m_progress, m_messages); });
    // The manuals are installed next to the program.
    connect(acHilfethemen, &QAction::triggered, this, [this] {
        mnHilfethemenClick(QCoreApplication::applicationDirPath(), CurrentLanguage(), m_messages);
    });
}

void TfmMain::createMenus()
{
    Datei1 = menuBar()->addMenu(QString());
    Datei1->setObjectName(QStringLiteral("Datei1"));
    Datei1->addAction(acBeenden);
    mnFenster = menuBar()->addMenu(QString());
    mnFenster->setObjectName(QStringLiteral("mnFenster"));
    mnFenster->addAction(acWinListe);
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
    m_bus.RenameParameters();
}

void TfmMain::adapt_windows()
{
    AdjustLayout();
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
    if (const auto settings = ReadSettingsFile(kSettingsFileName)) {
        m_comPort = settings->comPort;
        m_baud = settings->baud;
        SetCurrentLanguage(settings->language);
        sprache_aendern();
        adapt_windows();
    } else {
        m_comPort = 1;
        m_baud = 19200;
        SetCurrentLanguage(German);
        sprache_aendern();
    }
    ConnectBus();
}

void TfmMain::closeEvent(QCloseEvent* event)
{
    // A settings file that cannot be written is left as it was; closing goes on.
    (void)WriteSettingsFile(QDir(m_programDirectory).filePath(kSettingsFileName),
                            Settings{m_comPort, m_baud, CurrentLanguage()});
    m_pollTimer->stop();
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
    // Connect closes the port first.
    if (m_bus.Connect(m_baud, m_comPort, static_cast<int>(m_replyTimeoutMs))) {
        statusConnection->setText(
            QStringLiteral("Online, COM%1, %2 Baud").arg(m_comPort).arg(m_baud));
        m_pollTicks = 0;
        m_pollTimer->start();
    } else {
        statusConnection->setText(QStringLiteral("Offline"));
    }
    UpdateActions();
}

void TfmMain::DisconnectBus(bool keepStatusText)
{
    m_pollTimer->stop();
    m_bus.Disconnect();
    if (!keepStatusText)
        statusConnection->setText(QStringLiteral("Offline"));
    UpdateActions();
}

void TfmMain::SendKeepAlive()
{
    if (!m_bus.IsConnected())
        return;
    int mode = 0x4F, field = 0, data = 1;
    (void)m_bus.SendTelegram(mode, field, data);
}

void TfmMain::EnableEepromWrite()
{
    if (!m_bus.IsConnected())
        return;
    int mode = 0x13, address = 0, data = 0x6677;
    (void)m_bus.SendToWindow(mode, address, data);
}

void TfmMain::UpdatePage0Checksum()
{
    int checksum = 0;
    bool ok = true;
    for (int address = 0x21; address <= 0x2F && ok; ++address) {
        int value = 0;
        ok = m_bus.ReadEepromByte(address, value) == 0;
        checksum ^= value & 0xFF;
    }
    if (ok) {
        EnableEepromWrite();
        ok = m_bus.WriteEepromByte(0x30, checksum) == 0;
    }
    if (!ok)
        m_messages.error(LanguageText(284));
}

void TfmMain::TimerTimer()
{
    if (++m_pollTicks >= kKeepAliveTicks) {
        m_pollTicks = 0;
        SendKeepAlive();
    }
    (void)m_bus.PollNext();
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
    const bool onDevice = row >= 0 && row < m_list.deviceCount();
    const bool groupUnit = onDevice && m_list.cell(row, 0) == QStringLiteral("0");
    const bool connected = m_bus.IsConnected();
    if (!onDevice || !connected) {
        acFenster->setEnabled(false);
        acAdresse->setEnabled(false);
        mnFenster->setEnabled(false);
    } else {
        acFenster->setEnabled(!readdressing());
        mnFenster->setEnabled(!readdressing());
        acAdresse->setEnabled(!groupUnit);
    }
    // At least two rows, whatever devices they hold; an empty list has none to drive.
    const bool group = m_list.deviceCount() > 1 && connected && !readdressing();
    for (QPushButton* b : {bnGrAuf, bnGrZu, bnGr50})
        b->setEnabled(group);
}

void TfmMain::acFensterExecute()
{
    const int row = selectedRow();
    if (m_list.deviceCount() == 0 || row < 0 || row >= m_list.deviceCount())
        return;
    const QString addressText = m_list.cell(row, 0);
    if (addressText.isEmpty()) {
        m_messages.error(LanguageText(328));
        return;
    }
    if (addressText == QStringLiteral("0")) {
        emit deviceWindowRequested(0);
        return;
    }
    m_bus.SetWindowAddress(ParseValue(addressText));
    const QString article = m_list.cell(row, 2);
    m_topHungArticle = article == QStringLiteral("480201") || article == QStringLiteral("480202");
    QApplication::processEvents();
    emit deviceWindowRequested(m_bus.GetWindowAddress());
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
    m_portDialog->setSettings(m_comPort, static_cast<int>(m_baud));
    m_portDialog->exec();
    m_comPort = m_portDialog->port();
    m_baud = static_cast<uint32_t>(m_portDialog->baud());
    ConnectBus();
}

void TfmMain::Sprachauswahl1Click()
{
    m_languageDialog->selectLanguage(CurrentLanguage());
    if (m_languageDialog->exec() != QDialog::Accepted)
        return;
    SetCurrentLanguage(m_languageDialog->chosenLanguage());
    sprache_aendern();
    adapt_windows();
}

void TfmMain::acBusScanExecute()
{
    BusScan scan(m_clock, m_ports, m_bus, m_list, *this);
    scan.run(connection());
    UpdateActions();
}

void TfmMain::setScanCommandsEnabled(bool enabled)
{
    for (QAction* a : {acBeenden, acInfo, acBusScan, acWinListe, acNotAdr})
        a->setEnabled(enabled);
    if (!enabled)
        acFenster->setEnabled(false);
}

bool TfmMain::confirmScanStart()
{
    m_scanDialog->showSettings(m_comPort, static_cast<int>(m_baud));
    return m_scanDialog->exec() == QDialog::Accepted;
}

void TfmMain::processEvents()
{
    QApplication::processEvents();
}

void TfmMain::setScanStatus(const QString& text, bool alarm)
{
    statusScan->setText(text);
    QPalette palette = statusBar()->palette();
    palette.setColor(QPalette::Window,
                     alarm ? QColor(Qt::red) : QApplication::palette().color(QPalette::Window));
    statusBar()->setPalette(palette);
}

ProgressReporter& TfmMain::progress()
{
    return *m_progress;
}

void TfmMain::setConnectionStatus(const QString& text)
{
    statusConnection->setText(text);
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
    m_addressing.changeAddress(selectedRow());
    UpdateActions();
}

void TfmMain::setReaddressingControls(bool on)
{
    bnNeuAdrAbbr->setVisible(on);
    bnNeuAdr->setText(LanguageText(on ? 242 : 401));
    // Scan, export and emergency addressing wait; "Eigenschaften" follows UpdateActions.
    for (QAction* a : {acBusScan, acWinListe, acNotAdr})
        a->setEnabled(!on);
}

void TfmMain::bnNeuAdrClick()
{
    if (!readdressing()) {
        m_addressing.enterReaddressing();
        setReaddressingControls(true);
        UpdateActions();
        return;
    }
    const bool written = m_addressing.applyReaddressing();
    UpdateActions();
    if (!written)
        return;
    setReaddressingControls(false);
    UpdateActions();
    acBusScanExecute();
}

void TfmMain::bnNeuAdrAbbrClick()
{
    m_addressing.abortReaddressing();
    setReaddressingControls(false);
    for (QPushButton* b : {bnGrAuf, bnGrZu, bnGr50})
        b->setEnabled(true);
    // The next selection in the list decides again.
    mnFenster->setEnabled(false);
}

void TfmMain::acNotAdrExecute()
{
    using End = BusAddressing::EmergencyEnd;
    const End end = m_addressing.emergencyAddressing(connection());
    // The list is scanned again unless nothing was started or the port did not open.
    if (end == End::Finished || end == End::WrongAnswer)
        acBusScanExecute();
}

void TfmMain::bnGrAufClick()
{
    m_groupDrive->setDriveKind(GroupOpen);
    m_groupDrive->exec();
}

void TfmMain::bnGrZuClick()
{
    m_groupDrive->setDriveKind(GroupClose);
    m_groupDrive->exec();
}

void TfmMain::bnGr50Click()
{
    m_groupDrive->setDriveKind(GroupHalfOpen);
    m_groupDrive->exec();
}
