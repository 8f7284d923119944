// fenestrix-sim: serves a simulated window bus on a new pseudo-terminal until it is told to stop.
#include "BusConfigFile.h"
#include "PtyBusServer.h"
#include "platform/ProgramVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <cstdio>

namespace {

int failWith(const QString& message)
{
    std::fprintf(stderr, "fenestrix-sim: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("fenestrix-sim"));
    QCoreApplication::setApplicationVersion(ProgramVersion());
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Serves a simulated window bus on a new pseudo-terminal and prints its path first."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption linkOption(
        QStringLiteral("link"), QStringLiteral("Make PATH a symbolic link to the terminal."),
        QStringLiteral("PATH"));
    const QCommandLineOption logOption(
        QStringLiteral("log"),
        QStringLiteral("Log every telegram to FILE, or to standard error for -."),
        QStringLiteral("FILE"));
    parser.addOption(linkOption);
    parser.addOption(logOption);
    parser.addPositionalArgument(QStringLiteral("CONFIG"),
                                 QStringLiteral("The bus as a JSON file; the default bus without."),
                                 QStringLiteral("[CONFIG]"));
    parser.process(app);
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return failWith(QStringLiteral("one CONFIG at most"));

    QString error;
    BusSetup setup = DefaultBusSetup();
    if (!positional.isEmpty()) {
        const auto loaded = LoadBusConfig(positional.front(), &error);
        if (!loaded)
            return failWith(error);
        setup = *loaded;
    }
    std::unique_ptr<TelegramLog> log;
    if (parser.isSet(logOption)) {
        log = TelegramLog::open(parser.value(logOption), &error);
        if (!log)
            return failWith(error);
    }

    // The signals are taken by sigwait below; the server thread inherits the blocked set.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    PtyBusServer server(std::make_unique<SimulatedBus>(setup));
    server.setLog(log.get());
    if (!server.start(&error))
        return failWith(error);

    const QString linkPath = parser.value(linkOption);
    if (!linkPath.isEmpty()) {
        const QFileInfo existing(linkPath);
        if (existing.isSymLink())
            QFile::remove(linkPath);
        if (!QFile::link(server.slavePath(), linkPath))
            return failWith(QStringLiteral("cannot create the link %1").arg(linkPath));
    }
    std::printf("%s\n", qPrintable(server.slavePath()));
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.stop();
    if (!linkPath.isEmpty())
        QFile::remove(linkPath);
    return 0;
}
