// SIGINT and SIGTERM as a Qt signal: the handler only writes a byte to a pipe, and the event
// loop reads it and emits `received`, so that nothing unsafe runs inside the signal handler.
// While it lives it replaces the two handlers; afterwards the previous ones are back. Only
// one may live at a time. Without POSIX signals it does nothing.
#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

class StopSignals final : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

signals:
    void received();

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};
