#include "Busmonitor.h"

#include "core/TraceTableModel.h"
#include "platform/WholeFile.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// New telegrams are taken over in batches, so that drawing them never slows the bus down: when
// the bus has been quiet for 300 ms, and during long runs of telegrams (a scan) every 5 s.
constexpr int kUpdateMs = 250;
constexpr qint64 kQuietMs = 300;
constexpr qint64 kLatestMs = 5000;
constexpr int kHighestWindow = 63;

// Failed exchanges in red, with a warning icon in front of their outcome.
class FailureDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!index.data(TraceTableModel::FailureRole).toBool())
            return;
        option->palette.setColor(QPalette::Text, Qt::red);
        if (index.column() == ColOutcome && !option->text.isEmpty()) {
            option->features |= QStyleOptionViewItem::HasDecoration;
            option->icon = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        }
    }
};

QPushButton* button(QWidget* parent, const char* name)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    // Enter in the find field finds; it presses no button.
    b->setAutoDefault(false);
    return b;
}

} // namespace

TfmBusmonitor::TfmBusmonitor(TelegramTrace& trace, UserMessages& messages, QWidget* parent)
    : QDialog(parent), m_messages(messages), m_model(new TraceTableModel(trace, this))
{
    setObjectName(QStringLiteral("fmBusmonitor"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* controls = new QHBoxLayout;
    bnPause = button(this, "bnPause");
    bnLeeren = button(this, "bnLeeren");
    cbFenster = new QComboBox(this);
    cbFenster->setObjectName(QStringLiteral("cbFenster"));
    cbNurFehler = new QCheckBox(this);
    cbNurFehler->setObjectName(QStringLiteral("cbNurFehler"));
    edSuchen = new QLineEdit(this);
    edSuchen->setObjectName(QStringLiteral("edSuchen"));
    bnSuchen = button(this, "bnSuchen");
    bnKopieren = button(this, "bnKopieren");
    bnSpeichern = button(this, "bnSpeichern");
    for (QWidget* w : std::initializer_list<QWidget*>{bnPause, bnLeeren, cbFenster, cbNurFehler,
                                                      edSuchen, bnSuchen, bnKopieren, bnSpeichern})
        controls->addWidget(w);
    layout->addLayout(controls);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("sgMonitor"));
    m_view->setModel(m_model);
    m_view->setItemDelegate(new FailureDelegate(m_view));
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    m_view->horizontalHeader()->setStretchLastSection(true);
    // Fixed row heights and column widths keep 100 000 lines scrolling smoothly.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int widths[kMonitorColumns] = {95, 45, 75, 130, 170, 50, 60, 55, 260, 150};
    for (int column = 0; column < kMonitorColumns; ++column)
        m_view->setColumnWidth(column, widths[column]);
    layout->addWidget(m_view, 1);
    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    status->setSizeGripEnabled(false);
    m_counts = new QLabel(status);
    m_counts->setObjectName(QStringLiteral("StatusBar.0"));
    status->addWidget(m_counts, 1);
    layout->addWidget(status);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(kUpdateMs);
    connect(m_timer, &QTimer::timeout, this, [this] {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const qint64 quiet = now - m_model->lastTelegramMs();
        if (quiet >= kQuietMs || now - m_lastUpdateMs >= kLatestMs)
            update();
    });
    connect(bnPause, &QPushButton::clicked, this, [this] {
        m_paused = !m_paused;
        SetLanguage();
        if (!m_paused)
            update();
    });
    connect(bnLeeren, &QPushButton::clicked, this, [this] {
        m_model->clear();
        showCounts();
    });
    connect(cbFenster, &QComboBox::activated, this, &TfmBusmonitor::applyFilter);
    connect(cbNurFehler, &QCheckBox::toggled, this, &TfmBusmonitor::applyFilter);
    connect(bnSuchen, &QPushButton::clicked, this, &TfmBusmonitor::findNext);
    connect(edSuchen, &QLineEdit::returnPressed, this, &TfmBusmonitor::findNext);
    connect(bnKopieren, &QPushButton::clicked, this, &TfmBusmonitor::copySelection);
    connect(bnSpeichern, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, MonitorLanguageText(MonitorText::Save), QString(),
                                         QStringLiteral("CSV (*.csv);;Text (*.txt)"));
        if (!path.isEmpty())
            saveTo(path);
    });
    resize(1200, 600);
    SetLanguage();
}

void TfmBusmonitor::SetLanguage()
{
    setWindowTitle(MonitorLanguageText(MonitorText::Title));
    bnPause->setText(MonitorLanguageText(m_paused ? MonitorText::Continue : MonitorText::Pause));
    bnLeeren->setText(MonitorLanguageText(MonitorText::Clear));
    cbNurFehler->setText(MonitorLanguageText(MonitorText::FailuresOnly));
    bnSuchen->setText(MonitorLanguageText(MonitorText::Find));
    bnKopieren->setText(MonitorLanguageText(MonitorText::Copy));
    bnSpeichern->setText(MonitorLanguageText(MonitorText::Save));
    const int window = cbFenster->currentIndex();
    cbFenster->clear();
    cbFenster->addItem(LanguageText(76) + u' ' + MonitorLanguageText(MonitorText::All));
    for (int address = 0; address <= kHighestWindow; ++address)
        cbFenster->addItem(LanguageText(76) + u' ' + QString::number(address));
    cbFenster->setCurrentIndex(std::max(window, 0));
    m_model->headerDataChanged(Qt::Horizontal, 0, kMonitorColumns - 1);
    showCounts();
}

void TfmBusmonitor::showOver(QWidget* owner)
{
    if (owner && parentWidget() != owner) {
        const QRect where = geometry();
        setParent(owner, windowFlags());
        setGeometry(where);
    }
    update();
    m_timer->start();
    show();
    raise();
    activateWindow();
}

void TfmBusmonitor::update()
{
    if (m_paused)
        return;
    m_lastUpdateMs = QDateTime::currentMSecsSinceEpoch();
    QScrollBar* bar = m_view->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    m_model->takeNew();
    showCounts();
    if (atEnd)
        m_view->scrollToBottom();
}

void TfmBusmonitor::showCounts()
{
    QStringList counts;
    for (int outcome = 0; outcome < kTraceOutcomes; ++outcome)
        counts << QStringLiteral("%1: %2")
                      .arg(OutcomeText(TraceOutcome(outcome)))
                      .arg(m_model->outcomeCounts()[size_t(outcome)]);
    m_counts->setText(counts.join(QStringLiteral("   ")));
}

void TfmBusmonitor::applyFilter()
{
    const int choice = cbFenster->currentIndex();
    m_model->setFilter(choice > 0 ? std::optional<int>(choice - 1) : std::nullopt,
                       cbNurFehler->isChecked());
}

void TfmBusmonitor::findNext()
{
    const QModelIndex current = m_view->currentIndex();
    const int from = current.isValid() ? current.row() + 1 : 0;
    if (const auto row = m_model->find(edSuchen->text(), from)) {
        m_view->selectRow(*row);
        m_view->scrollTo(m_model->index(*row, 0), QAbstractItemView::PositionAtCenter);
    }
}

void TfmBusmonitor::copySelection() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QByteArray text;
    for (const int row : rows)
        text += m_model->line(row).join(u'\t').toUtf8() + '\n';
    QApplication::clipboard()->setText(QString::fromUtf8(text));
}

bool TfmBusmonitor::saveTo(const QString& path) const
{
    WholeFile file(path);
    if (file.open()) {
        if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
            m_model->writeCsv(file.device(), m_model->allRows());
        else
            m_model->writeText(file.device(), m_model->allRows());
        if (file.commit())
            return true;
    }
    m_messages.error(LanguageText(274)); // Datei kann nicht geöffnet werden!
    return false;
}
