// fenestrix: the service tool. Without options the main window on the machine's serial ports;
// --simulate serves a simulated bus in-process; --scan runs the bus scan without windows, and
// --export FILE with it writes the window list report of the scanned list, --trace FILE every
// telegram exchanged, decoded; --version and --help print and exit.
#include "mainwindow/Main.h"
#include "ConsoleScan.h"
#include "SimulatedPorts.h"
#include "buslink/SettingsFile.h"
#include "buslink/TelegramTrace.h"
#include "mainwindow/core/TraceFile.h"
#include "platform/ComPortMap.h"
#include "platform/ProgramVersion.h"
#include "texts/MessageBoxes.h"

#include <QApplication>
#include <QByteArrayList>
#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

struct Options {
    bool scan = false;
    bool simulate = false;
    QString config;
    std::optional<int> port;
    std::optional<uint32_t> baud;
    QString exportPath;
    QString tracePath;
    QString backupPath;
    // Printed on standard output instead of running (version, help).
    QString printOnly;
};

std::optional<Options> parseOptions(const QStringList& arguments, QTextStream& err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Fenestrix Service"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(
        {QStringLiteral("simulate"), QStringLiteral("Serve a simulated bus in this process.")});
    parser.addOption({QStringLiteral("scan"),
                      QStringLiteral("Scan the bus without windows and print the list.")});
    parser.addOption({QStringLiteral("port"), QStringLiteral("COM port number for --scan."),
                      QStringLiteral("N")});
    parser.addOption(
        {QStringLiteral("baud"), QStringLiteral("Baud rate for --scan."), QStringLiteral("B")});
    parser.addOption({QStringLiteral("export"),
                      QStringLiteral("With --scan: write the window list report to FILE."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("trace"),
                      QStringLiteral("With --scan: write every telegram, decoded, to FILE."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("backup"),
                      QStringLiteral("With --scan: save the settings of every controller to FILE."),
                      QStringLiteral("FILE")});
    parser.addPositionalArgument(QStringLiteral("CONFIG"),
                                 QStringLiteral("Simulated bus (JSON), with --simulate."));
    if (!parser.parse(arguments)) {
        err << parser.errorText() << Qt::endl;
        return std::nullopt;
    }
    Options options;
    if (parser.isSet(QStringLiteral("version"))) {
        options.printOnly = QStringLiteral("fenestrix %1\n").arg(ProgramVersion());
        return options;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        options.printOnly = parser.helpText();
        return options;
    }
    options.scan = parser.isSet(QStringLiteral("scan"));
    options.simulate = parser.isSet(QStringLiteral("simulate"));
    options.config = parser.positionalArguments().value(0);
    options.exportPath = parser.value(QStringLiteral("export"));
    options.tracePath = parser.value(QStringLiteral("trace"));
    options.backupPath = parser.value(QStringLiteral("backup"));
    bool ok = true;
    if (parser.isSet(QStringLiteral("port")))
        options.port = parser.value(QStringLiteral("port")).toInt(&ok);
    if (ok && parser.isSet(QStringLiteral("baud")))
        options.baud = parser.value(QStringLiteral("baud")).toUInt(&ok);
    // Each output file needs --scan and a name.
    bool badExport = false;
    for (const auto& [name, path] :
         {std::pair{"export", options.exportPath}, std::pair{"trace", options.tracePath},
          std::pair{"backup", options.backupPath}})
        badExport = badExport ||
                    (parser.isSet(QString::fromLatin1(name)) && (!options.scan || path.isEmpty()));
    if (!ok || (!options.config.isEmpty() && !options.simulate) || badExport) {
        err << parser.helpText();
        return std::nullopt;
    }
    return options;
}

} // namespace

int main(int argc, char* argv[])
{
    // Settle the mode before the application object: --scan, --version and --help need no display.
    const QByteArrayList headlessOptions{"--scan", "--version", "-v", "--help", "-h", "-?"};
    bool headless = false;
    for (int i = 1; i < argc; ++i)
        headless = headless || headlessOptions.contains(QByteArray(argv[i]));
    std::unique_ptr<QCoreApplication> app;
    if (headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    // No display name besides: the platform would append it to every caption, and captions are
    // the language table's texts.
    QCoreApplication::setApplicationName(QStringLiteral("Fenestrix"));
    QCoreApplication::setApplicationVersion(ProgramVersion());

    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto options = parseOptions(QCoreApplication::arguments(), err);
    if (!options)
        return 2;
    if (!options->printOnly.isEmpty()) {
        out << options->printOnly;
        return 0;
    }

    const Settings settings = ReadSettingsFile(kSettingsFileName).value_or(Settings{});
    SimulatedPorts simulated;
    if (options->simulate) {
        QString error;
        if (!simulated.start(options->config, options->port.value_or(settings.comPort), &error)) {
            err << "fenestrix: " << error << Qt::endl;
            return 1;
        }
    }

    RealClock clock;
    QtSerialPorts ports;
    if (options->scan) {
        // The access object takes the language from the same settings file.
        const BusConnection connection{options->port.value_or(settings.comPort),
                                       options->baud.value_or(settings.baud)};
        std::optional<TraceFile> trace;
        if (!options->tracePath.isEmpty()) {
            trace.emplace(TelegramTrace::program(), options->tracePath);
            if (!trace->isOpen()) {
                err << "fenestrix: " << options->tracePath << ": " << trace->errorString()
                    << Qt::endl;
                return 1;
            }
        }
        return ConsoleScan(clock, ports)
            .run(connection, out, err, {options->exportPath, options->backupPath});
    }

    MessageBoxes messages;
    TfmMain mainWindow(clock, ports, messages);
    // "Eigenschaften" opens the window of the controller or of the group control unit.
    QObject::connect(&mainWindow, &TfmMain::deviceWindowRequested, &mainWindow, [&](int address) {
        if (address != 0)
            mainWindow.openControllerWindow();
        else
            mainWindow.openGroupUnitWindow();
    });
    mainWindow.show();
    return QApplication::exec();
}
