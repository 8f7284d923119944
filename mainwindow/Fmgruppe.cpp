#include "Fmgruppe.h"

#include "buslink/Veltradt.h"
#include "core/WindowListModel.h"
#include "texts/DialogButtons.h"
#include "texts/Sprachen.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kTickMs = 500;
// 3 s of pause and the tick of the command itself.
constexpr int kFixedPauseTicks = 7;

QString GroupUnitPauseCaption(int seconds)
{
    return QStringLiteral("%1 %2 (%3)").arg(seconds).arg(LanguageText(215), LanguageText(111));
}

} // namespace

TfmGruppeFahren::TfmGruppeFahren(TFensterSteuerung& bus, WindowListModel& list, QWidget* parent)
    : QDialog(parent), m_list(list), m_sequence(bus, list), gbFahrpause(new QGroupBox(this)),
      rb3Sek(new QRadioButton(gbFahrpause)), rbGSSek(new QRadioButton(gbFahrpause)),
      gbFortschritt(new QGroupBox(this)), ProgressBar(new QProgressBar(gbFortschritt)),
      StatusBar(new QStatusBar(this)), statusPanel(new QLabel(StatusBar)),
      bnStartStop(new QPushButton(this)), Timer(new QTimer(this))
{
    setObjectName(QStringLiteral("fmGruppeFahren"));
    gbFahrpause->setObjectName(QStringLiteral("gbFahrpause"));
    rb3Sek->setObjectName(QStringLiteral("rb3Sek"));
    rbGSSek->setObjectName(QStringLiteral("rbGSSek"));
    gbFortschritt->setObjectName(QStringLiteral("gbFortschritt"));
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    statusPanel->setObjectName(QStringLiteral("StatusPanel"));
    bnStartStop->setObjectName(QStringLiteral("bnStartStop"));
    Timer->setObjectName(QStringLiteral("Timer"));
    setModal(true);

    rb3Sek->setChecked(true);
    auto* pauseLayout = new QVBoxLayout(gbFahrpause);
    pauseLayout->addWidget(rb3Sek);
    pauseLayout->addWidget(rbGSSek);

    ProgressBar->setMinimumWidth(280);
    ProgressBar->setTextVisible(false);
    auto* progressLayout = new QVBoxLayout(gbFortschritt);
    progressLayout->addWidget(ProgressBar);

    StatusBar->setSizeGripEnabled(false);
    statusPanel->setContentsMargins(6, 0, 0, 0);
    StatusBar->addWidget(statusPanel, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bnStartStop);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 9, 0, 0);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(9, 0, 9, 0);
    body->addWidget(gbFahrpause);
    body->addWidget(gbFortschritt);
    body->addLayout(buttons);
    layout->addLayout(body);
    layout->addWidget(StatusBar);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Timer->setInterval(kTickMs);
    connect(Timer, &QTimer::timeout, this, &TfmGruppeFahren::TimerTimer);
    connect(bnStartStop, &QPushButton::clicked, this, &TfmGruppeFahren::bnStartStopClick);
    WithoutDefaultButton(*this);
    SetLanguage();
}

void TfmGruppeFahren::SetLanguage()
{
    gbFahrpause->setTitle(LanguageText(73) + QStringLiteral(":"));
    rb3Sek->setText(QStringLiteral("3 ") + LanguageText(215));
    rbGSSek->setText(GroupUnitPauseCaption(254));
    gbFortschritt->setTitle(LanguageText(102) + QStringLiteral(":"));
    bnStartStop->setText(LanguageText(2));
}

void TfmGruppeFahren::FormShow()
{
    m_sequence.reset(m_driveKind);
    ProgressBar->setRange(0, m_sequence.progressMaximum());
    ProgressBar->setValue(0);
    rbGSSek->setText(GroupUnitPauseCaption(m_list.groupDrivePause));
    bnStartStop->setText(LanguageText(225));
    statusPanel->setText(QStringLiteral(" "));
    switch (m_driveKind) {
    case GroupClose:
        setWindowTitle(LanguageText(290));
        break;
    case GroupHalfOpen:
        setWindowTitle(LanguageText(289) + QStringLiteral(" 50%"));
        break;
    default:
        setWindowTitle(LanguageText(288));
        break;
    }
}

void TfmGruppeFahren::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored by the window system goes on where it was.
    if (!event->spontaneous())
        FormShow();
}

void TfmGruppeFahren::bnStartStopClick()
{
    if (m_sequence.running()) {
        accept();
        return;
    }
    bnStartStop->setText(LanguageText(2));
    m_sequence.start();
    Timer->start();
}

void TfmGruppeFahren::TimerTimer()
{
    if (!m_sequence.running())
        return;
    const GroupDriveSequence::Step step = m_sequence.tick(pauseTicks());
    ProgressBar->setValue(m_sequence.progressPosition());
    switch (step) {
    case GroupDriveSequence::Step::Counting:
        statusPanel->setText(PauseStatusText(m_sequence.countdown()));
        break;
    case GroupDriveSequence::Step::Sent:
        break;
    case GroupDriveSequence::Step::Finished:
        accept();
        break;
    }
}

void TfmGruppeFahren::done(int result)
{
    Timer->stop();
    m_sequence.stop();
    QDialog::done(result);
}

int TfmGruppeFahren::pauseTicks() const
{
    // The group control unit's pause in seconds, plus the tick of the command.
    return rb3Sek->isChecked() ? kFixedPauseTicks : m_list.groupDrivePause * 2 + 1;
}
