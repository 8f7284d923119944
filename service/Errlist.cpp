#include "Errlist.h"

#include "service/core/EventList.h"
#include "texts/Sprachen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kRefreshMs = 800;
constexpr int kIconSize = 16;
constexpr int kGroupMargin = 20;

// Index 0 a clear bit (grey), index 1 a set bit (red).
QPixmap bitIcon(bool set)
{
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(set ? 0x80 : 0x70, set ? 0 : 0x70, set ? 0 : 0x70));
    painter.setBrush(set ? QColor(0xE0, 0x20, 0x20) : QColor(0xD8, 0xD8, 0xD8));
    painter.drawEllipse(2, 2, kIconSize - 4, kIconSize - 4);
    return pixmap;
}

QString masterIcon(int bit)
{
    return QStringLiteral("imErr%1").arg(bit + 1);
}

QString slaveIcon(int bit)
{
    return QStringLiteral("imErr%1").arg(bit + 101);
}

} // namespace

TfmErrList::TfmErrList(TFensterSteuerung& bus, QWidget* parent)
    : QDialog(parent), m_bus(bus), m_icons{bitIcon(false), bitIcon(true)}
{
    setObjectName(QStringLiteral("fmErrList"));
    auto* layout = new QVBoxLayout(this);
    GroupBox = new QGroupBox(this);
    GroupBox->setObjectName(QStringLiteral("GroupBox"));
    auto* grid = new QGridLayout(GroupBox);
    const auto label = [this](const QString& name, const QString& text = {}) {
        auto* l = new QLabel(text, GroupBox);
        l->setObjectName(name);
        return l;
    };
    grid->addWidget(label(QStringLiteral("Label17"), QStringLiteral("M")), 0, 0);
    grid->addWidget(label(QStringLiteral("Label18"), QStringLiteral("S")), 0, 1);
    const QStringList texts = EventBitLabels();
    for (int bit = 0; bit < kEventBits; ++bit) {
        grid->addWidget(label(masterIcon(bit)), bit + 1, 0);
        grid->addWidget(label(slaveIcon(bit)), bit + 1, 1);
        QLabel* text = label(texts[bit]);
        text->setWordWrap(true);
        grid->addWidget(text, bit + 1, 2);
    }
    grid->setColumnStretch(2, 1);
    layout->addWidget(GroupBox);
    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(kRefreshMs);
    connect(Timer, &QTimer::timeout, this, &TfmErrList::TimerTimer);
}

void TfmErrList::showFor(int controllerType)
{
    m_controllerType = controllerType;
    TimerTimer();
    SetLanguage();
    show();
    Timer->start();
}

void TfmErrList::TimerTimer()
{
    const EventWords words = ReadEventWords(m_bus);
    GroupBox->setTitle(EventListCaption(words));
    for (int bit = 0; bit < kEventBits; ++bit) {
        const std::pair<QString, int> icons[] = {{masterIcon(bit), words.master},
                                                 {slaveIcon(bit), words.slave}};
        for (const auto& [name, word] : icons) {
            const bool set = (word >> bit & 1) != 0;
            auto* icon = GroupBox->findChild<QLabel*>(name);
            icon->setPixmap(m_icons[set ? 1 : 0]);
            // Screen readers read the state of the bit.
            icon->setAccessibleName(set ? QStringLiteral("1") : QStringLiteral("0"));
        }
    }
}

void TfmErrList::SetLanguage()
{
    setWindowTitle(LanguageText(70));
    GroupBox->setTitle(LanguageText(6));
    const QStringList labels = EventBitLabels();
    const QStringList texts = EventBitTexts(m_controllerType);
    for (int bit = 0; bit < kEventBits; ++bit)
        GroupBox->findChild<QLabel*>(labels[bit])->setText(texts[bit]);
    applyLayout();
}

void TfmErrList::applyLayout()
{
    // The slave column is a PAF master's only.
    const bool slave = ShowsSlaveColumn(m_controllerType);
    for (const char* head : {"Label17", "Label18"})
        GroupBox->findChild<QLabel*>(QString::fromLatin1(head))->setVisible(slave);
    for (int bit = 0; bit < kEventBits; ++bit)
        GroupBox->findChild<QLabel*>(slaveIcon(bit))->setVisible(slave);
    const int width = EventListWidth(CurrentLanguage());
    setFixedWidth(width);
    GroupBox->setFixedWidth(width - kGroupMargin);
}

void TfmErrList::hideEvent(QHideEvent* event)
{
    Timer->stop();
    QDialog::hideEvent(event);
}
