#include "ConsoleRecording.h"

#include "ConsoleMessages.h"
#include "controller/core/ControllerRecording.h"
#include "mainwindow/core/BusSession.h"
#include "platform/StopSignals.h"
#include "texts/BackupText.h"
#include "texts/Sprachen.h"

#include <QDateTime>

namespace {

constexpr int kPortNotOpenedText = 315;
constexpr qint64 kMinuteMs = 60 * 1000;

} // namespace

int RecordController(Clock& clock, SerialPorts& ports, const BusConnection& connection,
                     const RecordingRequest& request, QTextStream& err)
{
    ConsoleMessages messages(err);
    // Connected as the main window connects: its polling timer and keep-alive run meanwhile.
    BusSession session(clock, ports, messages);
    session.setConnection(connection);
    if (!session.ConnectBus()) {
        messages.error(LanguageText(kPortNotOpenedText));
        return 1;
    }
    RecordingFile file(request.csvPath);
    if (!file.open()) {
        messages.error(BackupLanguageText(BackupText::NotOpened).arg(request.csvPath));
        return 1;
    }
    const auto now = [] { return QDateTime::currentMSecsSinceEpoch(); };
    ControllerRecording recording(session, file, err, now);
    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::received, &recording, &ControllerRecording::stop);
    if (request.minutes)
        recording.endAt(now() + *request.minutes * kMinuteMs);
    const ControllerRecording::End end = recording.run(request.address);
    session.DisconnectBus(false);
    using enum ControllerRecording::End;
    return end == Stopped || end == TimeUp ? 0 : 1;
}
