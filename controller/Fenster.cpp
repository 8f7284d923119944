#include "Fenster.h"

#include "Led.h"
#include "Trend.h"
#include "Vergleich.h"
#include "WindowSketch.h"
#include "controller/core/ControllerLayout.h"
#include "mainwindow/core/BusSession.h"
#include "platform/RunTimeFiles.h"
#include "service/BackupFileDialog.h"
#include "service/Eeprom.h"
#include "service/Errlist.h"
#include "service/Liste.h"
#include "service/Proddaten.h"
#include "texts/BackupText.h"
#include "texts/DialogButtons.h"
#include "texts/Fortschritt.h"
#include "texts/Sprachen.h"
#include "texts/ToolBarButton.h"
#include "texts/TrendText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kRollerPeriodMs = 2000;
constexpr QSize kPictureSize(348, 350);
constexpr int kIconSize = 16;
constexpr int kCaptionWidth = 150;
constexpr int kBaseWidth = 1000;

template <typename W> W* named(QWidget* parent, const char* name)
{
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text = {})
{
    auto* l = named<QLabel>(parent, name);
    l->setText(text);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text = {})
{
    auto* b = named<QPushButton>(parent, name);
    b->setText(text);
    return b;
}

const char* iconLabelOf(LockElement element)
{
    switch (element) {
    case LockElement::UpperStrand:
        return "imRolleO";
    case LockElement::LowerStrand:
        return "imRolleU";
    case LockElement::FingerBolt:
        break;
    }
    return "imRiegel";
}

} // namespace

TfmFenster::TfmFenster(BusSession& session, ControllerState& state, QString programDirectory,
                       QWidget* parent)
    : QDialog(parent), m_session(session), m_state(state),
      m_programDirectory(std::move(programDirectory)), m_refresh(session.bus(), state, *this),
      m_commands(session.bus(), state, *this, session.clock()),
      m_edits(session.bus(), state, *this, session.clock()),
      m_backup(session.bus(), session.clock(), *this, m_programDirectory)
{
    setObjectName(QStringLiteral("fmFenster"));
    setWindowTitle(QStringLiteral("Veltra Fenestrix"));
    auto* layout = new QVBoxLayout(this);
    createToolBar(layout);
    auto* body = new QHBoxLayout;
    body->addWidget(createStateColumn());
    body->addWidget(createDriveColumn());
    body->addWidget(createInfoColumn(), 1);
    layout->addLayout(body);
    StatusBar = named<QStatusBar>(this, "StatusBar");
    StatusBar->setSizeGripEnabled(false);
    StatusBar->setAutoFillBackground(true);
    auto* events = label(StatusBar, "StatusBar.0");
    events->setFixedWidth(180);
    StatusBar->addWidget(events);
    StatusBar->addWidget(label(StatusBar, "StatusBar.1"), 1);
    layout->addWidget(StatusBar);

    Timer = named<QTimer>(nullptr, "Timer");
    Timer->setParent(this);
    Timer->setInterval(kRefreshPeriodMs);
    Timer->setSingleShot(true);
    connect(Timer, &QTimer::timeout, this, &TfmFenster::TimerTimer);
    RollenTimer = new QTimer(this);
    RollenTimer->setObjectName(QStringLiteral("RollenTimer"));
    RollenTimer->setInterval(kRollerPeriodMs);
    connect(RollenTimer, &QTimer::timeout, this, &TfmFenster::SRollenTimer);
    connectCommands();
    connectSettingEdits();
    // The service dialogs come after the window's own controls, whose names they repeat, so that
    // looking a control up by name finds the window's own first.
    connectServiceDialogs();
    connectBackupCommands();
    m_trend = std::make_unique<TfmTrend>(session.messages(), this);
    WithoutDefaultButton(*this);
    resize(kBaseWidth, height());
}

TfmFenster::~TfmFenster() = default;

void TfmFenster::createToolBar(QVBoxLayout* layout)
{
    auto* bar = named<QToolBar>(this, "ToolBar1");
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto tool = [bar](const char* name, QStyle::StandardPixmap icon) {
        return AddToolBarButton(bar, name, icon);
    };
    connect(AddBackAndInfoButtons(bar, this), &QToolButton::clicked, this,
            &TfmFenster::infoRequested);
    auto* info = new QAction(this);
    info->setObjectName(QStringLiteral("acInfo"));
    info->setShortcut(Qt::Key_F1);
    connect(info, &QAction::triggered, this, &TfmFenster::infoRequested);
    addAction(info);
    // EEPROM, production data, event list and status list.
    for (const char* name : {"ToolButton3", "ToolButton4", "ToolButton5", "tbStListe"})
        tool(name, QStyle::SP_FileDialogDetailedView);
    tool("tbSichern", QStyle::SP_DialogSaveButton);
    tool("tbVergleichen", QStyle::SP_FileDialogListView);
    tool("tbWiederherstellen", QStyle::SP_DialogApplyButton);
    // The bus monitor reads the trace only, so it is not held back during a refresh.
    connect(tool("tbBusmonitor", QStyle::SP_FileDialogContentsView), &QToolButton::clicked, this,
            &TfmFenster::busMonitorRequested);
    // The trend plots what the refresh read; it reads nothing itself.
    connect(tool("tbTrend", QStyle::SP_FileDialogInfoView), &QToolButton::clicked, this,
            [this] { m_trend->showBeside(*this); });
    m_serviceSeparator = bar->addSeparator();
    m_serviceSeparator->setObjectName(QStringLiteral("ToolButton11"));
    m_serviceSeparator->setVisible(false);
    m_serviceButton = bar->addWidget(tool("ToolButton6", QStyle::SP_ComputerIcon));
    m_serviceButton->setVisible(false);
    auto* serviceKey = new QAction(this);
    serviceKey->setObjectName(QStringLiteral("acServiceKey"));
    serviceKey->setShortcut(kServiceKey);
    connect(serviceKey, &QAction::triggered, this, &TfmFenster::fmFensterServiceKey);
    addAction(serviceKey);
    layout->setMenuBar(bar);
}

QWidget* TfmFenster::createStateColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    QFont bold = font();
    bold.setBold(true);
    label(column, "lblFensterZustand")->setFont(bold);
    layout->addWidget(column->findChild<QLabel*>(QStringLiteral("lblFensterZustand")));
    imFenster = label(column, "imFenster");
    imFenster->setFixedSize(kPictureSize);
    imFenster->setFrameShape(QFrame::Box);
    layout->addWidget(imFenster);
    QLabel* missing = label(column, "lbl2", QStringLiteral("bmp nicht gefunden"));
    QPalette red = missing->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    missing->setPalette(red);
    layout->addWidget(missing);
    layout->addWidget(label(column, "lbl3"));
    layout->addStretch(1);
    return column;
}

QWidget* TfmFenster::createDriveColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);

    auto* mode = named<QGroupBox>(column, "gbModus");
    auto* modeLayout = new QHBoxLayout(mode);
    QLabel* modeText = label(mode, "lblModus");
    QFont bold = font();
    bold.setBold(true);
    modeText->setFont(bold);
    modeLayout->addWidget(modeText, 1);
    modeLayout->addWidget(button(mode, "bnModus"));
    layout->addWidget(mode);

    auto* drive = named<QGroupBox>(column, "gbKippA");
    auto* driveLayout = new QGridLayout(drive);
    driveLayout->addWidget(label(drive, "lblKippPos"), 0, 0);
    driveLayout->addWidget(label(drive, "Label20", QStringLiteral("mm")), 0, 1);
    driveLayout->addWidget(label(drive, "Label5", QStringLiteral("0")), 0, 2);
    driveLayout->addWidget(label(drive, "lblKippA"), 1, 0);
    auto* bar = named<QProgressBar>(drive, "pbPosition");
    bar->setRange(0, 0);
    bar->setMaximum(1);
    bar->setTextVisible(false);
    driveLayout->addWidget(bar, 1, 1, 1, 2);
    driveLayout->addWidget(label(drive, "lblKippZ"), 1, 3);
    driveLayout->addWidget(button(drive, "bnKAauf"), 2, 0, 1, 2);
    driveLayout->addWidget(button(drive, "bnKAzu"), 2, 2, 1, 2);
    driveLayout->addWidget(named<QComboBox>(drive, "cbKippAntr"), 3, 0, 1, 4);
    driveLayout->addWidget(label(drive, "Label4"), 4, 0, 1, 4);
    driveLayout->addWidget(label(drive, "Label19"), 5, 0);
    driveLayout->addWidget(named<QComboBox>(drive, "PWM_Auf_ComboBox"), 5, 1);
    driveLayout->addWidget(label(drive, "Label23"), 5, 2);
    driveLayout->addWidget(named<QComboBox>(drive, "PWM_Zu_ComboBox"), 5, 3);
    layout->addWidget(drive);

    // The two roller strands and the finger bolt: state text, icon, unlock and lock.
    const auto lockGroup = [&](const char* group, const char* text, const char* icon,
                               const char* unlock, const char* lock) {
        auto* box = named<QGroupBox>(column, group);
        auto* grid = new QGridLayout(box);
        QLabel* image = label(box, icon);
        image->setFixedSize(kIconSize, kIconSize + 1);
        grid->addWidget(image, 0, 0);
        grid->addWidget(label(box, text), 0, 1, 1, 2);
        grid->addWidget(button(box, unlock), 1, 1);
        grid->addWidget(button(box, lock), 1, 2);
        layout->addWidget(box);
    };
    lockGroup("gbRO", "lblSRO", "imRolleO", "bnSROentriegeln", "bnSROverriegeln");
    lockGroup("gbRU", "lblSRU", "imRolleU", "bnSRUentriegeln", "bnSRUverriegeln");
    lockGroup("gbFingerR", "lblFingerR", "imRiegel", "bnFRentriegeln", "bnFRverriegeln");
    layout->addStretch(1);
    return column;
}

QWidget* TfmFenster::createInfoColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);

    auto* info = named<QGroupBox>(column, "gbInfo");
    auto* grid = new QGridLayout(info);
    // Caption, value and the control beside it, row by row.
    struct Row {
        const char* caption;
        const char* value;
        const char* extra;
    };
    static constexpr Row kRows[] = {
        {"Label8", "lblWinAdr", nullptr},
        {"Label14", "lblWinTyp", "Button2"},
        {"Label11", "lblVcc", nullptr},
        {"Label6", "lblVccGrenze", nullptr},
        {"Label9", "lblFluegel", "bnRohwert"},
        {"Label7", "lblFluegelGrenze", nullptr},
        {"Label2", "lblEntriegel", nullptr},
        {"Label10", "lblKippsperre", nullptr},
        {"Label16", "lblLeisteAktiv", "bnSchaltleiste"},
        {"Label15", "lblAutoRiegel", "bnAutoVerriegeln"},
        {"Label12", "lblLED", "Button1"},
        {"Label1", "lblZyklDreh", nullptr},
        {"Label13", "lblZyklKipp", nullptr},
        {"Label3", "lblReversion", nullptr},
        {"Label17", "lblrwa_oeffnung", nullptr},
        {"Label29", "lblLeiste1Wert", nullptr},
        {"Label31", "lblLeiste2Wert", nullptr},
    };
    int row = 0;
    for (const Row& r : kRows) {
        grid->addWidget(label(info, r.caption), row, 0);
        grid->addWidget(label(info, r.value), row, 1);
        if (r.extra)
            grid->addWidget(button(info, r.extra), row, 2);
        ++row;
    }
    grid->setColumnMinimumWidth(0, kCaptionWidth);
    // The reason of the last reversal wraps onto a second line rather than widening the window;
    // the line is kept for it, so that the window keeps its height.
    QLabel* reversal = info->findChild<QLabel*>(QStringLiteral("lblReversion"));
    reversal->setWordWrap(true);
    QSizePolicy twoLines = reversal->sizePolicy();
    twoLines.setHeightForWidth(false);
    reversal->setSizePolicy(twoLines);
    reversal->setMinimumHeight(2 * reversal->fontMetrics().lineSpacing());
    // The unit of the opening width, and the raw Hall value that takes the place of its button
    // when that is pressed.
    grid->addWidget(label(info, "Label21", QStringLiteral(" mm")), 14, 2);
    QLabel* raw = label(info, "lblRohwert");
    grid->addWidget(raw, 4, 3);
    raw->hide();
    for (const char* hidden : {"Label29", "lblLeiste1Wert", "Label31", "lblLeiste2Wert"})
        info->findChild<QWidget*>(QString::fromLatin1(hidden))->hide();
    info->findChild<QPushButton*>(QStringLiteral("Button2"))->setText(QStringLiteral("<>"));
    layout->addWidget(info);

    auto* commands = named<QGroupBox>(column, "GroupBox1");
    auto* commandLayout = new QGridLayout(commands);
    commandLayout->addWidget(button(commands, "bnWinKipp"), 0, 0);
    commandLayout->addWidget(button(commands, "bnWinZu"), 0, 1);
    commandLayout->addWidget(button(commands, "Button3"), 1, 0);
    commandLayout->addWidget(button(commands, "bnWinAuf"), 1, 1);
    layout->addWidget(commands);

    auto* windowTypes = named<QGroupBox>(column, "RadioGroup1");
    // Two columns, so that the window of a chain drive fits the height of a laptop screen.
    auto* typeLayout = new QGridLayout(windowTypes);
    for (int item = 0; item < kWindowTypeItems; ++item) {
        auto* radio = new QRadioButton(windowTypes);
        radio->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(item));
        typeLayout->addWidget(radio, item / 2, item % 2);
    }
    layout->addWidget(windowTypes);

    auto* paf = named<QGroupBox>(column, "gbPAF");
    auto* pafLayout = new QGridLayout(paf);
    static constexpr Row kSlaveRows[] = {
        {"Label27", "lblFensterZustand2", nullptr}, {"Label24", "lblSlavePos", "Label25"},
        {"Label28", "lblSlaveHall", nullptr},       {"Label30", "lblSlaveAntriebe", nullptr},
        {"Label26", "lblSlaveErr", nullptr},        {"Label33", "lblSlaveRevers", nullptr},
    };
    row = 0;
    for (const Row& r : kSlaveRows) {
        pafLayout->addWidget(label(paf, r.caption), row, 0);
        pafLayout->addWidget(label(paf, r.value), row, 1);
        if (r.extra)
            pafLayout->addWidget(label(paf, r.extra, QStringLiteral("mm")), row, 2);
        ++row;
    }
    paf->findChild<QLabel*>(QStringLiteral("Label33"))
        ->setText(QStringLiteral("letzte Reversierung:"));
    label(paf, "lblSlaveStatus")->hide();
    layout->addWidget(paf);
    layout->addWidget(label(column, "Label22"));
    layout->addStretch(1);
    return column;
}

void TfmFenster::SetLanguage()
{
    findChild<QToolButton*>(QStringLiteral("tbBusmonitor"))->setText(LanguageText(kTextBusMonitor));
    findChild<QToolButton*>(QStringLiteral("tbTrend"))
        ->setText(TrendLanguageText(TrendText::Button));
    m_trend->SetLanguage();
    findChild<QToolButton*>(QStringLiteral("tbSichern"))
        ->setText(BackupLanguageText(BackupText::Save));
    findChild<QToolButton*>(QStringLiteral("tbVergleichen"))
        ->setText(BackupLanguageText(BackupText::Compare));
    findChild<QToolButton*>(QStringLiteral("tbWiederherstellen"))
        ->setText(BackupLanguageText(BackupText::Restore));
    m_eeprom->SetLanguage();
    m_productionData->SetLanguage();
    m_eventList->SetLanguage();
    m_statusList->SetLanguage();
    applyView(ControllerCaptions());
    if (auto* winAuf = findChild<QPushButton*>(QStringLiteral("bnWinAuf")))
        winAuf->setText(m_refresh.winAufCaption());
}

void TfmFenster::SetSize()
{
    const ControllerWidths widths = WidthsForLanguage(CurrentLanguage());
    resize(kBaseWidth + widths.extraWindowWidth, height());
    // The widths of the language are the least the columns get; a larger font widens them
    // rather than cutting texts.
    auto* grid =
        qobject_cast<QGridLayout*>(findChild<QGroupBox*>(QStringLiteral("gbInfo"))->layout());
    grid->setColumnMinimumWidth(0, kCaptionWidth + widths.extraWindowWidth / 2);
    // The reason of the last reversal wraps within the column rather than widening it.
    grid->setColumnMinimumWidth(1, std::max(widths.windowKind, widths.safetyEdge));
    findChild<QPushButton*>(QStringLiteral("bnRohwert"))->setMinimumWidth(widths.rawValue);
}

void TfmFenster::FormShow()
{
    m_serviceButton->setVisible(false);
    m_serviceSeparator->setVisible(false);
    const QString raw = QString(kRawPictureFile);
    if (QFileInfo::exists(raw))
        imFenster->setPixmap(QPixmap(raw));
    m_open = true;
    m_trend->beginController(m_session.bus().GetWindowAddress());
    apply(refreshing([this] { return m_refresh.open(); }));
    m_session.bus().StartPolling();
    apply(refreshing([this] { return m_refresh.run(); }));
    if (m_open)
        Timer->start();
    if (auto* mode = findChild<QPushButton*>(QStringLiteral("bnModus")); mode->isEnabled())
        mode->setFocus();
}

void TfmFenster::TimerTimer()
{
    Timer->stop();
    TFensterSteuerung& bus = m_session.bus();
    bus.PausePolling();
    const RefreshResult result = refreshing([this] { return m_refresh.run(); });
    bus.ResumePolling();
    // A window closed during the refresh neither shows it nor refreshes again.
    if (!m_open)
        return;
    apply(result);
    Timer->start();
    runDeferred();
}

RefreshResult TfmFenster::refreshing(const std::function<RefreshResult()>& step)
{
    m_flowRunning = true;
    RefreshResult result = step();
    m_flowRunning = false;
    return result;
}

void TfmFenster::act(std::function<void()> action)
{
    if (m_flowRunning)
        m_deferred << std::move(action);
    else if (m_open)
        action();
}

void TfmFenster::runDeferred()
{
    while (!m_deferred.isEmpty() && m_open && !m_flowRunning)
        m_deferred.takeFirst()();
}

void TfmFenster::done(int result)
{
    // A backup command ends with its progress dialog's cancel button, not with the window.
    if (m_backupRunning)
        return;
    m_open = false;
    m_deferred.clear();
    // A drive jogged by a held button stops, and a closing-roller test ends: no command of this
    // window reaches another controller.
    m_commands.endHeldJog();
    m_commands.endRollerTest();
    closeServiceDialogs();
    Timer->stop();
    m_session.bus().StopPolling();
    m_state.layoutSetUp = false;
    QDialog::done(result);
}

void TfmFenster::processEvents()
{
    QApplication::processEvents();
}

bool TfmFenster::rollerTestRunning() const
{
    return RollenTimer->isActive();
}

UserMessages& TfmFenster::messages()
{
    return m_session.messages();
}

void TfmFenster::stopRefreshTimer()
{
    Timer->stop();
}

void TfmFenster::startRefreshTimer()
{
    if (m_open)
        Timer->start();
}

void TfmFenster::startRollerTimer()
{
    RollenTimer->start();
}

void TfmFenster::stopRollerTimer()
{
    RollenTimer->stop();
}

bool TfmFenster::rollerTimerActive() const
{
    return RollenTimer->isActive();
}

void TfmFenster::reconnect()
{
    const bool refreshing = Timer->isActive();
    Timer->stop();
    m_session.reopen(kReconnectPauseMs);
    if (refreshing)
        Timer->start();
}

void TfmFenster::apply(const RefreshResult& result)
{
    auto* openingWidth = findChild<QComboBox*>(QStringLiteral("cbKippAntr"));
    if (result.openingWidthCleared)
        openingWidth->setCurrentIndex(-1);
    if (result.options) {
        openingWidth->clear();
        openingWidth->addItems(result.options->openingWidths);
        openingWidth->setCurrentIndex(-1);
        openingWidth->setEnabled(result.options->openingWidthEnabled);
        for (const char* name : {"PWM_Auf_ComboBox", "PWM_Zu_ComboBox"}) {
            auto* pwm = findChild<QComboBox*>(QString::fromLatin1(name));
            pwm->clear();
            pwm->addItems(result.options->pwmLevels);
            pwm->setEnabled(result.options->pwmEnabled);
        }
    }
    if (result.windowTypeItem) {
        for (int item = 0; item < kWindowTypeItems; ++item) {
            auto* radio = findChild<QRadioButton*>(QStringLiteral("RadioGroup1Item%1").arg(item));
            // An exclusive group keeps its ticked item when that is unticked: no stored type
            // clears it only with the exclusivity off meanwhile.
            radio->setAutoExclusive(false);
            radio->setChecked(item == *result.windowTypeItem);
            radio->setAutoExclusive(true);
        }
    }
    applyView(result.view);
    auto* bar = findChild<QProgressBar*>(QStringLiteral("pbPosition"));
    if (result.barMaximum)
        bar->setMaximum(std::max(1, *result.barMaximum));
    if (result.barValue)
        bar->setValue(*result.barValue);
    if (result.openingWidth) {
        if (openingWidth->currentIndex() != result.openingWidth->index)
            openingWidth->setCurrentIndex(result.openingWidth->index);
        if (result.openingWidth->disableBox)
            openingWidth->setEnabled(false);
    }
    const std::pair<const char*, std::optional<int>> pwm[] = {
        {"PWM_Zu_ComboBox", result.pwmClosingIndex}, {"PWM_Auf_ComboBox", result.pwmOpeningIndex}};
    for (const auto& [name, index] : pwm) {
        auto* box = findChild<QComboBox*>(QString::fromLatin1(name));
        if (index && box->currentIndex() != *index)
            box->setCurrentIndex(*index);
    }
    for (const auto& [element, icon] : result.icons)
        drawIcon(element, icon);
    if (result.picture)
        applyPicture(*result.picture, result.radio);
    if (result.sample)
        m_trend->addSample(*result.sample);
}

void TfmFenster::applyView(const ControllerView& view)
{
    for (auto it = view.changes().cbegin(); it != view.changes().cend(); ++it) {
        const ControlChange& change = *it;
        if (it.key() == QLatin1String("StatusBar")) {
            QPalette palette = StatusBar->palette();
            palette.setColor(QPalette::Window,
                             change.colour == TextColour::Red
                                 ? QColor(Qt::red)
                                 : QApplication::palette().color(QPalette::Button));
            StatusBar->setPalette(palette);
            continue;
        }
        auto* widget = findChild<QWidget*>(it.key());
        if (!widget)
            continue;
        if (change.text) {
            if (auto* l = qobject_cast<QLabel*>(widget))
                l->setText(*change.text);
            else if (auto* b = qobject_cast<QAbstractButton*>(widget))
                b->setText(*change.text);
            else if (auto* g = qobject_cast<QGroupBox*>(widget))
                g->setTitle(*change.text);
        }
        if (change.hint)
            widget->setToolTip(*change.hint);
        if (change.visible)
            widget->setVisible(*change.visible);
        if (change.enabled)
            widget->setEnabled(*change.enabled);
        if (change.colour) {
            QPalette palette = widget->palette();
            const QColor normal = QApplication::palette().color(QPalette::WindowText);
            const QColor colour = *change.colour == TextColour::Red ? QColor(Qt::red) : normal;
            // A disabled control keeps the greyed text of the style.
            for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
                palette.setColor(group, QPalette::WindowText, colour);
                palette.setColor(group, QPalette::ButtonText, colour);
            }
            widget->setPalette(palette);
        }
    }
}

void TfmFenster::applyPicture(const PictureRebuild& rebuild,
                              const std::optional<PictureOverlay>& radio)
{
    const DrawnSketch drawn =
        DrawWindowSketch(m_programDirectory, rebuild, radio, imFenster->pixmap());
    if (!drawn.picture.isNull())
        imFenster->setPixmap(drawn.picture);
    if (drawn.missingFile)
        findChild<QLabel*>(QStringLiteral("lbl2"))->setText(*drawn.missingFile);
}

QPixmap TfmFenster::iconPixmap(LockingIcon icon) const
{
    // The image is cleared to the button face, then the icon is drawn at (0, 1).
    QPixmap pixmap(kIconSize, kIconSize + 1);
    pixmap.fill(palette().color(QPalette::Button));
    const QPixmap symbol =
        TransparentBitmap(RunTimeFile(m_programDirectory, QString(LockingIconFile(icon))));
    if (!symbol.isNull()) {
        QPainter painter(&pixmap);
        painter.drawPixmap(0, 1, symbol);
    }
    return pixmap;
}

void TfmFenster::drawIcon(LockElement element, LockingIcon icon)
{
    findChild<QLabel*>(QString::fromLatin1(iconLabelOf(element)))->setPixmap(iconPixmap(icon));
}

void TfmFenster::connectButton(const char* name, std::function<void()> action)
{
    connect(findChild<QAbstractButton*>(QString::fromLatin1(name)), &QAbstractButton::clicked, this,
            [this, action = std::move(action)] { act(action); });
}

void TfmFenster::connectCommands()
{
    struct Lock {
        const char* name;
        LockElement strand;
        bool locked;
    };
    static constexpr Lock kLocks[] = {
        {"bnSROentriegeln", LockElement::UpperStrand, false},
        {"bnSROverriegeln", LockElement::UpperStrand, true},
        {"bnSRUentriegeln", LockElement::LowerStrand, false},
        {"bnSRUverriegeln", LockElement::LowerStrand, true},
    };
    for (const Lock& lock : kLocks)
        connectButton(lock.name,
                      [this, lock] { apply(m_commands.lockStrand(lock.strand, lock.locked)); });
    connectButton("bnFRentriegeln", [this] { apply(m_commands.fingerBoltButton(false)); });
    connectButton("bnFRverriegeln", [this] { apply(m_commands.fingerBoltButton(true)); });

    for (const char* name : {"bnKAauf", "bnKAzu"})
        findChild<QPushButton*>(QString::fromLatin1(name))->installEventFilter(this);
    connectButton("bnKAauf", [this] { m_commands.jogClicked(JogDirection::Open); });
    connectButton("bnKAzu", [this] { m_commands.jogClicked(JogDirection::Close); });

    connectButton("bnWinKipp", [this] { m_commands.windowCommand(WindowCommand::Open); });
    connectButton("bnWinZu", [this] { m_commands.windowCommand(WindowCommand::Close); });
    connectButton("Button3", [this] { m_commands.windowCommand(WindowCommand::Stop); });
    connectButton("bnWinAuf", [this] { m_commands.windowCommand(WindowCommand::OpenFully); });
    connectButton("bnModus", [this] { applyView(m_commands.modeButton()); });
}

void TfmFenster::connectSettingEdits()
{
    connectButton("bnSchaltleiste", [this] { m_edits.toggleSafetyEdge(); });
    connectButton("bnAutoVerriegeln", [this] {
        auto* button = findChild<QPushButton*>(QStringLiteral("bnAutoVerriegeln"));
        button->setEnabled(false);
        m_edits.toggleAutomaticLocking();
        button->setEnabled(true);
    });
    // The boxes react to the user's choice only, not to the refresh selecting a stored value.
    connect(findChild<QComboBox*>(QStringLiteral("cbKippAntr")), &QComboBox::activated, this,
            [this](int position) { act([this, position] { cbKippAntrChange(position); }); });
    connect(findChild<QComboBox*>(QStringLiteral("PWM_Auf_ComboBox")), &QComboBox::activated, this,
            [this](int position) {
                act([this, position] { pwmChange(PwmDirection::Opening, position); });
            });
    connect(findChild<QComboBox*>(QStringLiteral("PWM_Zu_ComboBox")), &QComboBox::activated, this,
            [this](int position) {
                act([this, position] { pwmChange(PwmDirection::Closing, position); });
            });
    for (int item = 0; item < kWindowTypeItems; ++item)
        connectButton(qPrintable(QStringLiteral("RadioGroup1Item%1").arg(item)),
                      [this, item] { m_edits.changeWindowType(item); });
    connectButton("Button2", [this] {
        if (const auto kind = m_edits.switchTurnTiltVariant())
            findChild<QLabel*>(QStringLiteral("lblWinTyp"))->setText(*kind);
    });
    connectButton("Button1", [this] { Button1Click(); });
    connectButton("ToolButton6", [this] { m_edits.changeServiceSetting(); });
    // The raw Hall value takes the place of its button and gives it back when clicked.
    auto* raw = findChild<QPushButton*>(QStringLiteral("bnRohwert"));
    auto* rawValue = findChild<QLabel*>(QStringLiteral("lblRohwert"));
    connect(raw, &QPushButton::clicked, this, [raw, rawValue] {
        raw->hide();
        rawValue->show();
    });
    rawValue->installEventFilter(this);
}

bool TfmFenster::eventFilter(QObject* watched, QEvent* event)
{
    // A disabled control still passes its pointer events to the filter.
    auto* control = static_cast<QWidget*>(watched);
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    const bool release = type == QEvent::MouseButtonRelease;
    if (watched->objectName() == QLatin1String("lblRohwert")) {
        if (release && control->isEnabled()) {
            control->hide();
            findChild<QPushButton*>(QStringLiteral("bnRohwert"))->show();
        }
        return false;
    }
    const JogDirection direction = watched->objectName() == QLatin1String("bnKAauf")
                                       ? JogDirection::Open
                                       : JogDirection::Close;
    // A press held back by a refresh runs only if the refresh left the button enabled; the
    // release of a press that started the drive stops it, whatever the button's state by then.
    if (press && control->isEnabled()) {
        act([this, control, direction] {
            if (control->isEnabled())
                m_commands.jogPressed(direction);
        });
    } else if (release) {
        act([this] { m_commands.jogReleased(); });
    }
    return false;
}

void TfmFenster::SRollenTimer()
{
    if (m_open)
        apply(m_commands.rollerTestTick());
}

void TfmFenster::fmFensterServiceKey()
{
    const ServiceSetting setting = ServiceSettingOf(m_state);
    if (setting == ServiceSetting::None)
        return;
    findChild<QToolButton*>(QStringLiteral("ToolButton6"))->setText(ServiceButtonCaption(setting));
    const bool visible = !m_serviceButton->isVisible();
    m_serviceButton->setVisible(visible);
    m_serviceSeparator->setVisible(visible);
}

void TfmFenster::cbKippAntrChange(int position)
{
    const OpeningWidthChange change = m_edits.changeOpeningWidth(position);
    if (change.selection)
        findChild<QComboBox*>(QStringLiteral("cbKippAntr"))->setCurrentIndex(*change.selection);
    if (change.barMaximum)
        findChild<QProgressBar*>(QStringLiteral("pbPosition"))
            ->setMaximum(std::max(1, *change.barMaximum));
}

void TfmFenster::pwmChange(PwmDirection direction, int position)
{
    const char* name = direction == PwmDirection::Opening ? "PWM_Auf_ComboBox" : "PWM_Zu_ComboBox";
    if (const auto level = m_edits.changePwmLevel(direction, position))
        findChild<QComboBox*>(QString::fromLatin1(name))->setCurrentIndex(*level);
}

void TfmFenster::Button1Click()
{
    Tfm_ledstatus dialog(this);
    if (const auto state = m_edits.handleLedState())
        dialog.select(*state);
    if (dialog.exec() == QDialog::Accepted)
        m_edits.writeHandleLed(dialog.selectedPosition());
}

void TfmFenster::connectServiceDialogs()
{
    TFensterSteuerung& bus = m_session.bus();
    m_eeprom = std::make_unique<TfmEeprom>(bus, m_session.clock(), m_session.messages(), this);
    m_productionData = std::make_unique<TfmProdDaten>(bus, this);
    m_eventList = std::make_unique<TfmErrList>(bus, this);
    m_statusList = std::make_unique<TfmListe>(this);
    connectButton("ToolButton3", [this] { acEKSExecute(); });
    connectButton("ToolButton4", [this] {
        m_productionData->showFor(findChild<QLabel*>(QStringLiteral("lblWinAdr"))->text());
    });
    connectButton("ToolButton5", [this] { m_eventList->showFor(m_state.controllerType); });
    connectButton("tbStListe", [this] { tbStListeClick(); });
    connect(m_statusList.get(), &TfmListe::fillRequested, this,
            [this] { act([this] { tbStListeClick(); }); });
}

void TfmFenster::closeServiceDialogs()
{
    m_productionData->close();
    m_eventList->close();
    m_statusList->close();
    m_trend->close();
}

void TfmFenster::acEKSExecute()
{
    Timer->stop();
    m_productionData->close();
    m_eventList->close();
    TFensterSteuerung& bus = m_session.bus();
    bus.PausePolling();
    m_eeprom->FormShow(m_state.variantByte, m_state.controllerType, m_programDirectory);
    m_eeprom->exec();
    bus.ResumePolling();
    if (m_open)
        Timer->start();
}

void TfmFenster::tbStListeClick()
{
    auto* button = findChild<QToolButton*>(QStringLiteral("tbStListe"));
    Timer->stop();
    button->setEnabled(false);
    m_statusList->beginFill(findChild<QLabel*>(QStringLiteral("lblWinAdr"))->text());
    m_flowRunning = true;
    (void)FillStatusList(m_session.bus(), *this);
    m_flowRunning = false;
    m_statusList->endFill();
    button->setEnabled(true);
    if (!m_open)
        return;
    Timer->start();
    runDeferred();
}

void TfmFenster::showEntry(int index, const QString& name, const QString& value)
{
    m_statusList->showEntry(index, name, value);
}

void TfmFenster::connectBackupCommands()
{
    m_progress = std::make_unique<TfmFortschritt>(this);
    m_comparison = std::make_unique<TfmVergleich>(this);
    const auto withFile = [this](int caption, BackupFileUse use,
                                 void (TfmFenster::*command)(const QString&)) {
        return [this, caption, use, command] {
            if (const QString path = ChooseBackupFile(this, caption, use); !path.isEmpty())
                (this->*command)(path);
        };
    };
    connectButton("tbSichern",
                  withFile(BackupText::Save, BackupFileUse::Save, &TfmFenster::saveBackupTo));
    connectButton("tbVergleichen",
                  withFile(BackupText::Compare, BackupFileUse::Open, &TfmFenster::compareWith));
    connectButton("tbWiederherstellen",
                  withFile(BackupText::Restore, BackupFileUse::Open, &TfmFenster::restoreFrom));
}

ProgressReporter& TfmFenster::progress()
{
    return *m_progress;
}

void TfmFenster::runBackupFlow(const std::function<bool()>& flow)
{
    if (m_flowRunning || !m_open)
        return;
    Timer->stop();
    TFensterSteuerung& bus = m_session.bus();
    bus.PausePolling();
    QList<QWidget*> controls;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && child->isEnabled() && child != StatusBar)
            controls << child;
    }
    for (QWidget* control : controls)
        control->setEnabled(false);
    m_flowRunning = true;
    m_backupRunning = true;
    const bool settingsWritten = flow();
    m_backupRunning = false;
    m_flowRunning = false;
    for (QWidget* control : controls)
        control->setEnabled(true);
    // The next refresh shows the written settings.
    if (settingsWritten)
        m_state.redisplay();
    bus.ResumePolling();
    Timer->start();
    runDeferred();
}

void TfmFenster::saveBackupTo(const QString& path)
{
    runBackupFlow([this, &path] {
        (void)m_backup.save(path);
        return false;
    });
}

void TfmFenster::compareWith(const QString& path)
{
    std::optional<Comparison> comparison;
    runBackupFlow([this, &path, &comparison] {
        comparison = m_backup.compare(path);
        return false;
    });
    if (!comparison)
        return;
    m_comparison->showDifferences(comparison->savedAt, comparison->saved, comparison->differences);
    m_comparison->exec();
}

void TfmFenster::restoreFrom(const QString& path)
{
    runBackupFlow([this, &path] { return m_backup.restore(path); });
}
