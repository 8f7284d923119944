#include "Trend.h"

#include "controller/core/RecordingCsv.h"
#include "platform/WholeFile.h"
#include "texts/BackupText.h"
#include "texts/DialogButtons.h"
#include "texts/NamedWidget.h"
#include "texts/Sprachen.h"
#include "texts/TrendText.h"
#include "texts/UserMessages.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {

constexpr int kRawHallText = 191;
// Beside the controller window, within a laptop screen of 768 lines with its frame.
constexpr QSize kTrendSize(900, 700);
// The shortest time axis: a trend of a few samples still spreads over a minute.
constexpr qint64 kShortestSpanMs = 60 * 1000;
// Where the markers stand: state changes at the top of the position chart, events below them.
constexpr double kStateMarkerHeight = 0.97;
constexpr double kEventMarkerHeight = 0.90;

// The range of the values of `lines`, widened a little and rounded for the axis.
std::pair<double, double> valueRange(const QList<const QList<QPointF>*>& lines)
{
    double low = 0, high = 0;
    bool any = false;
    for (const QList<QPointF>* line : lines) {
        for (const QPointF& p : *line) {
            low = any ? std::min(low, p.y()) : p.y();
            high = any ? std::max(high, p.y()) : p.y();
            any = true;
        }
    }
    const double margin = std::max((high - low) * 0.05, 1.0);
    return {low - margin, high + margin};
}

QList<QPointF> markerPoints(const QList<TrendMarker>& markers, double y)
{
    QList<QPointF> points;
    for (const TrendMarker& m : markers)
        points << QPointF(double(m.atMs), y);
    return points;
}

} // namespace

TfmTrend::TfmTrend(UserMessages& messages, QWidget* parent) : QDialog(parent), m_messages(messages)
{
    setObjectName(QStringLiteral("fmTrend"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* commands = new QHBoxLayout;
    bnPause = NamedWidget<QPushButton>(this, "bnPause");
    bnDaten = NamedWidget<QPushButton>(this, "bnDaten");
    bnBild = NamedWidget<QPushButton>(this, "bnBild");
    for (QPushButton* b : {bnPause, bnDaten, bnBild})
        commands->addWidget(b);
    commands->addStretch(1);
    layout->addLayout(commands);

    m_charts = new QWidget(this);
    m_charts->setObjectName(QStringLiteral("Diagramme"));
    auto* charts = new QVBoxLayout(m_charts);
    charts->setContentsMargins(0, 0, 0, 0);
    m_position = addChart("Position", 1);
    m_supply = addChart("Spannung", 1);
    m_counts = addChart("Rohwerte", 3);
    m_counts.values->setLabelFormat(QStringLiteral("%.0f"));
    for (const Chart* chart : {&m_position, &m_supply, &m_counts})
        charts->addWidget(chart->view, 1);
    layout->addWidget(m_charts, 1);

    m_stateMarkers = new QScatterSeries;
    m_stateMarkers->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    m_eventMarkers = new QScatterSeries;
    m_eventMarkers->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    m_eventMarkers->setColor(Qt::red);
    QChart* positionChart = m_position.view->chart();
    for (QScatterSeries* markers : {m_stateMarkers, m_eventMarkers}) {
        markers->setMarkerSize(10);
        positionChart->addSeries(markers);
        markers->attachAxis(m_position.time);
        markers->attachAxis(m_position.values);
        connectMarkers(markers);
    }

    lblMarker = new QLabel(this);
    lblMarker->setObjectName(QStringLiteral("lblMarker"));
    layout->addWidget(lblMarker);

    connect(bnPause, &QPushButton::clicked, this, [this] { setPaused(!m_paused); });
    connect(bnDaten, &QPushButton::clicked, this, [this] {
        chooseFileAndSave(TrendText::SaveData, TrendText::CsvFiles, "csv", &TfmTrend::saveData);
    });
    connect(bnBild, &QPushButton::clicked, this, [this] {
        chooseFileAndSave(TrendText::SavePicture, TrendText::PngFiles, "png",
                          &TfmTrend::savePicture);
    });
    WithoutDefaultButton(*this);
    resize(kTrendSize);
}

TfmTrend::Chart TfmTrend::addChart(const char* name, int lines)
{
    Chart c;
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->setMargins(QMargins(4, 0, 4, 0));
    c.time = new QDateTimeAxis;
    c.time->setFormat(QStringLiteral("HH:mm:ss"));
    c.time->setTickCount(6);
    c.values = new QValueAxis;
    chart->addAxis(c.time, Qt::AlignBottom);
    chart->addAxis(c.values, Qt::AlignLeft);
    for (int i = 0; i < lines; ++i) {
        auto* line = new QLineSeries;
        chart->addSeries(line);
        line->attachAxis(c.time);
        line->attachAxis(c.values);
        c.lines << line;
    }
    c.view = new QChartView(chart, m_charts);
    c.view->setObjectName(QString::fromLatin1(name));
    c.view->setRenderHint(QPainter::Antialiasing);
    return c;
}

void TfmTrend::connectMarkers(QScatterSeries* series)
{
    connect(series, &QScatterSeries::hovered, this, [this](const QPointF& point, bool entered) {
        if (entered)
            showMarker(qint64(point.x()));
    });
}

void TfmTrend::SetLanguage()
{
    using namespace TrendText;
    setWindowTitle(m_address ? TrendLanguageText(Caption).arg(*m_address)
                             : TrendLanguageText(Button));
    bnPause->setText(TrendLanguageText(m_paused ? Resume : Pause));
    bnDaten->setText(TrendLanguageText(SaveData));
    bnBild->setText(TrendLanguageText(SavePicture));
    m_position.lines[0]->setName(TrendLanguageText(DrivePosition));
    m_supply.lines[0]->setName(TrendLanguageText(SupplyVoltage));
    m_counts.lines[0]->setName(TrendLanguageText(SafetyEdgeValue).arg(1));
    m_counts.lines[1]->setName(TrendLanguageText(SafetyEdgeValue).arg(2));
    m_counts.lines[2]->setName(LanguageText(kRawHallText));
    m_stateMarkers->setName(TrendLanguageText(StateChanges));
    m_eventMarkers->setName(TrendLanguageText(EventTexts));
    // The marker texts are in the language too.
    redraw();
}

void TfmTrend::beginController(int address)
{
    if (m_address != address) {
        m_ring.clear();
        m_pausedSamples.clear();
    }
    m_address = address;
    lblMarker->clear();
    SetLanguage();
}

void TfmTrend::addSample(const RefreshSample& sample)
{
    m_ring.append(QDateTime::currentMSecsSinceEpoch(), sample);
    if (!m_paused && isVisible())
        redraw();
}

void TfmTrend::showBeside(const QWidget& window)
{
    if (!isVisible())
        move(window.frameGeometry().topRight() + QPoint(1, 0));
    show();
    raise();
    activateWindow();
}

void TfmTrend::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    redraw();
}

QList<TimedSample> TfmTrend::shownSamples() const
{
    if (m_paused)
        return m_pausedSamples;
    const TrendSpan span = ShownSpan(m_ring);
    return m_ring.between(span.fromMs, span.toMs);
}

void TfmTrend::setPaused(bool paused)
{
    if (paused && !m_paused) {
        m_pausedSpan = ShownSpan(m_ring);
        m_pausedSamples = shownSamples();
    }
    m_paused = paused;
    bnPause->setText(TrendLanguageText(m_paused ? TrendText::Resume : TrendText::Pause));
    redraw();
}

void TfmTrend::redraw()
{
    // While paused the charts keep their moment; a language change redraws it.
    const TrendSpan span = m_paused ? m_pausedSpan : ShownSpan(m_ring);
    m_plot = PlotOf(shownSamples());
    const QDateTime from = QDateTime::fromMSecsSinceEpoch(span.fromMs);
    const QDateTime to =
        QDateTime::fromMSecsSinceEpoch(std::max(span.toMs, span.fromMs + kShortestSpanMs));
    const std::pair<Chart*, QList<const QList<QPointF>*>> charts[] = {
        {&m_position, {&m_plot.position}},
        {&m_supply, {&m_plot.supply}},
        {&m_counts, {&m_plot.safetyEdge1, &m_plot.safetyEdge2, &m_plot.rawHall}},
    };
    for (const auto& [chart, lines] : charts) {
        for (qsizetype i = 0; i < lines.size(); ++i)
            chart->lines[i]->replace(*lines[i]);
        const auto [low, high] = valueRange(lines);
        chart->values->setRange(low, high);
        chart->values->applyNiceNumbers();
        chart->time->setRange(from, to);
    }
    // Controllers without a safety edge have no analogue values to name.
    for (int input : {0, 1})
        m_counts.lines[input]->setVisible(!m_plot.safetyEdge1.isEmpty());
    const double low = m_position.values->min();
    const double height = m_position.values->max() - low;
    m_stateMarkers->replace(markerPoints(m_plot.stateChanges, low + height * kStateMarkerHeight));
    m_eventMarkers->replace(markerPoints(m_plot.eventChanges, low + height * kEventMarkerHeight));
}

void TfmTrend::showMarker(qint64 atMs)
{
    // The nearest marker of either kind: the hover hits the point it is over.
    const TrendMarker* nearest = nullptr;
    for (const QList<TrendMarker>* markers : {&m_plot.stateChanges, &m_plot.eventChanges}) {
        for (const TrendMarker& m : *markers) {
            if (!nearest || std::abs(m.atMs - atMs) < std::abs(nearest->atMs - atMs))
                nearest = &m;
        }
    }
    if (!nearest)
        return;
    lblMarker->setText(nearest->text);
    QToolTip::showText(QCursor::pos(), nearest->text, m_position.view);
}

void TfmTrend::chooseFileAndSave(int caption, int fileType, const char* suffix,
                                 bool (TfmTrend::*save)(const QString&))
{
    const QString pattern = QStringLiteral(" (*.%1)").arg(QLatin1StringView(suffix));
    QString path = QFileDialog::getSaveFileName(this, TrendLanguageText(caption), QString(),
                                                TrendLanguageText(fileType) + pattern);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QLatin1StringView(suffix);
    (void)(this->*save)(path);
}

bool TfmTrend::saveData(const QString& path)
{
    return writeWhole(path, RecordingCsv(shownSamples()));
}

bool TfmTrend::savePicture(const QString& path)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!m_charts->grab().save(&buffer, "PNG"))
        png.clear();
    return writeWhole(path, png);
}

bool TfmTrend::writeWhole(const QString& path, const QByteArray& bytes)
{
    WholeFile file(path);
    const bool written = !bytes.isEmpty() && file.open() &&
                         file.device().write(bytes) == bytes.size() && file.commit();
    if (!written)
        m_messages.error(BackupLanguageText(BackupText::NotWritten).arg(path));
    return written;
}
