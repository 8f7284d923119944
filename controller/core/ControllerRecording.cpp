#include "ControllerRecording.h"

#include "SampleTexts.h"
#include "mainwindow/core/BusSession.h"
#include "texts/BackupText.h"
#include "texts/TrendText.h"

#include <QCoreApplication>
#include <QEventLoop>

ControllerRecording::ControllerRecording(BusSession& session, RecordingFile& file, QTextStream& log,
                                         std::function<qint64()> nowMs)
    : m_session(session), m_file(file), m_log(log), m_nowMs(std::move(nowMs)),
      m_refresh(session.bus(), m_state, *this)
{
    m_timer.setObjectName(QStringLiteral("Timer"));
    m_timer.setInterval(kRefreshPeriodMs);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (const auto end = tick())
            finish(*end);
        else
            m_timer.start();
    });
}

std::optional<ControllerRecording::End> ControllerRecording::open(int address)
{
    TFensterSteuerung& bus = m_session.bus();
    bus.SetWindowAddress(address);
    m_refreshing = true;
    (void)m_refresh.open();
    bus.StartPolling();
    const RefreshResult result = m_refresh.run();
    m_refreshing = false;
    return record(result);
}

std::optional<ControllerRecording::End> ControllerRecording::tick()
{
    // The polling tick found the adapter gone while the recording waited.
    if (!m_session.bus().IsConnected())
        return End::AdapterLost;
    TFensterSteuerung& bus = m_session.bus();
    m_refreshing = true;
    bus.PausePolling();
    const RefreshResult result = m_refresh.run();
    bus.ResumePolling();
    m_refreshing = false;
    return record(result);
}

std::optional<ControllerRecording::End> ControllerRecording::record(const RefreshResult& result)
{
    // A refresh that lost the adapter read nothing from the controller: no row for it.
    if (m_session.endIfAdapterLost() || !m_session.bus().IsConnected())
        return End::AdapterLost;
    const TimedSample timed{m_nowMs(), result.sample.value_or(RefreshSample{})};
    if (!m_file.append(timed))
        return End::WriteFailed;
    ++m_rows;
    logChange(timed);
    if (m_untilMs && timed.atMs >= *m_untilMs)
        return End::TimeUp;
    if (m_stopRequested)
        return End::Stopped;
    return std::nullopt;
}

void ControllerRecording::logChange(const TimedSample& timed)
{
    // A state that could not be read shows as the status list shows a failed entry.
    const QString read = StateTextOf(timed.sample);
    const QString state = read.isEmpty() ? QStringLiteral("?") : read;
    const QString events =
        timed.sample.eventBits ? EventBitsTextOf(timed.sample) : EventTextsOf(timed.sample);
    if (m_rows > 1 && state == m_lastState && events == m_lastEvents)
        return;
    m_lastState = state;
    m_lastEvents = events;
    m_log << IsoTimeText(timed.atMs) << ' '
          << TrendLanguageText(TrendText::RecordingProgress)
                 .arg(QString::number(m_rows), state, events)
          << Qt::endl;
}

ControllerRecording::End ControllerRecording::run(int address)
{
    m_end.reset();
    m_stopRequested = false;
    m_log << TrendLanguageText(TrendText::RecordingStarted)
                 .arg(QString::number(address), m_file.path())
          << Qt::endl;
    QEventLoop loop;
    m_loop = &loop;
    if (const auto end = open(address))
        finish(*end);
    else
        m_timer.start();
    if (!m_end)
        loop.exec();
    m_loop = nullptr;
    const End end = *m_end;
    if (end == End::WriteFailed)
        m_log << BackupLanguageText(BackupText::NotWritten).arg(m_file.path()) << Qt::endl;
    m_log << TrendLanguageText(TrendText::RecordingEnded)
                 .arg(m_file.path(), QString::number(m_rows), m_lastState)
          << Qt::endl;
    return end;
}

void ControllerRecording::stop()
{
    m_stopRequested = true;
    if (!m_refreshing)
        finish(End::Stopped);
}

void ControllerRecording::finish(End end)
{
    m_timer.stop();
    m_end = end;
    if (m_loop)
        m_loop->quit();
}

void ControllerRecording::processEvents()
{
    QCoreApplication::processEvents();
}

void ControllerRecording::reconnect()
{
    m_session.reopen(kReconnectPauseMs);
}
