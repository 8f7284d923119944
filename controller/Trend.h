// The trend beside the controller window: drive position, supply voltage, the safety edge's
// analogue values and the raw Hall value of the last ten minutes, plotted from the samples of
// the window's refreshes (it reads nothing itself), with markers where the state or the event
// bits changed; pause, and the shown data saved as CSV or as a picture.
#pragma once

#include "controller/core/TrendPlot.h"

#include <QDialog>

class QChart;
class QChartView;
class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QPushButton;
class QScatterSeries;
class QValueAxis;
class UserMessages;

class TfmTrend final : public QDialog {
    Q_OBJECT
public:
    TfmTrend(UserMessages& messages, QWidget* parent = nullptr);

    void SetLanguage();
    // The controller window opens `address`: the samples of another controller are dropped.
    void beginController(int address);
    // The sample of a refresh that ended now.
    void addSample(const RefreshSample& sample);
    // Shows the trend to the right of `window`, or raises it when it is open.
    void showBeside(const QWidget& window);

    [[nodiscard]] const TrendRing& samples() const { return m_ring; }
    // The samples the charts show: the last ten minutes, or those of the moment of the pause.
    [[nodiscard]] QList<TimedSample> shownSamples() const;
    [[nodiscard]] bool paused() const { return m_paused; }
    void setPaused(bool paused);
    // The shown data as CSV, the charts as a PNG picture; written whole or not at all.
    bool saveData(const QString& path);
    bool savePicture(const QString& path);
    // The text of the marker at `atMs` (the markers' hover), also shown below the charts.
    void showMarker(qint64 atMs);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Chart {
        QChartView* view = nullptr;
        QValueAxis* values = nullptr;
        QDateTimeAxis* time = nullptr;
        QList<QLineSeries*> lines;
    };
    Chart addChart(const char* name, int lines);
    void redraw();
    void connectMarkers(QScatterSeries* series);
    void chooseFileAndSave(int caption, int fileType, const char* suffix,
                           bool (TfmTrend::*save)(const QString&));
    bool writeWhole(const QString& path, const QByteArray& bytes);

    UserMessages& m_messages;
    TrendRing m_ring;
    std::optional<int> m_address;
    bool m_paused = false;
    // What the charts showed when they were paused.
    TrendSpan m_pausedSpan;
    QList<TimedSample> m_pausedSamples;
    TrendPlot m_plot;
    QWidget* m_charts = nullptr;
    Chart m_position;
    Chart m_supply;
    Chart m_counts;
    QScatterSeries* m_stateMarkers = nullptr;
    QScatterSeries* m_eventMarkers = nullptr;
    QPushButton* bnPause = nullptr;
    QPushButton* bnDaten = nullptr;
    QPushButton* bnBild = nullptr;
    QLabel* lblMarker = nullptr;
};
