// fenestrix: the service tool. Without options the main window on the machine's serial ports;
// --port takes a COM number or a network gateway's address instead of the settings file's port;
// --simulate serves a simulated bus in-process; --scan runs the bus scan without windows, and
// --export FILE with it writes the window list report of the scanned list, --trace FILE every
// telegram exchanged, decoded, --report FILE the commissioning report as a PDF; --record ADDRESS
// --csv FILE records one controller's refreshes; --version and --help print and exit.
#include "mainwindow/Main.h"
#include "ConsoleRecording.h"
#include "ConsoleScan.h"
#include "SimulatedPorts.h"
#include "buslink/SettingsFile.h"
#include "buslink/TelegramTrace.h"
#include "mainwindow/core/TraceFile.h"
#include "platform/ComPortMap.h"
#include "platform/ProgramVersion.h"
#include "service/core/Tools01.h"
#include "texts/MessageBoxes.h"

#include <QApplication>
#include <QByteArrayList>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

struct Options {
    bool scan = false;
    bool simulate = false;
    QString config;
    std::optional<BusPort> port;
    std::optional<uint32_t> baud;
    QString exportPath;
    QString tracePath;
    QString backupPath;
    QString reportPath;
    QString site;
    QString technician;
    std::optional<RecordingRequest> record;
    // Printed on standard output instead of running (version, help).
    QString printOnly;
};

// The controller of "--record": a bus address of a controller, decimal or hex with "h".
bool isControllerAddress(int address)
{
    return address >= 1 && address <= 0x3F;
}

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
    parser.addOption({QStringLiteral("port"),
                      QStringLiteral("COM port number N, or a network gateway: tcp://HOST:PORT "
                                     "(raw TCP) or rfc2217://HOST:PORT (Telnet with RFC 2217)."),
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
    parser.addOption({QStringLiteral("report"),
                      QStringLiteral("With --scan: write the commissioning report (PDF) to FILE."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("site"), QStringLiteral("With --report: the site."),
                      QStringLiteral("TEXT")});
    parser.addOption({QStringLiteral("technician"),
                      QStringLiteral("With --report: the technician's name."),
                      QStringLiteral("TEXT")});
    parser.addOption(
        {QStringLiteral("record"),
         QStringLiteral("Record the controller at ADDRESS without windows, one CSV row "
                        "per refresh, until Ctrl+C."),
         QStringLiteral("ADDRESS")});
    parser.addOption({QStringLiteral("csv"),
                      QStringLiteral("With --record: append the rows to FILE."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("minutes"),
                      QStringLiteral("With --record: end after N minutes."), QStringLiteral("N")});
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
    options.reportPath = parser.value(QStringLiteral("report"));
    options.site = parser.value(QStringLiteral("site"));
    options.technician = parser.value(QStringLiteral("technician"));
    bool ok = true;
    if (parser.isSet(QStringLiteral("port"))) {
        options.port = BusPort::parse(parser.value(QStringLiteral("port")));
        ok = options.port.has_value();
    }
    if (ok && parser.isSet(QStringLiteral("baud")))
        options.baud = parser.value(QStringLiteral("baud")).toUInt(&ok);
    // --record needs an address and --csv; --csv and --minutes need --record.
    const bool recording = parser.isSet(QStringLiteral("record"));
    if (recording) {
        RecordingRequest request;
        request.address = ParseValue(parser.value(QStringLiteral("record")));
        request.csvPath = parser.value(QStringLiteral("csv"));
        ok = ok && isControllerAddress(request.address) && !request.csvPath.isEmpty() &&
             !options.scan;
        if (ok && parser.isSet(QStringLiteral("minutes"))) {
            request.minutes = parser.value(QStringLiteral("minutes")).toInt(&ok);
            ok = ok && *request.minutes > 0;
        }
        options.record = request;
    } else {
        ok = ok && !parser.isSet(QStringLiteral("csv")) && !parser.isSet(QStringLiteral("minutes"));
    }
    // Each output file needs --scan and a name.
    bool badExport = false;
    for (const auto& [name, path] :
         {std::pair{"export", options.exportPath}, std::pair{"trace", options.tracePath},
          std::pair{"backup", options.backupPath}, std::pair{"report", options.reportPath}})
        badExport = badExport ||
                    (parser.isSet(QString::fromLatin1(name)) && (!options.scan || path.isEmpty()));
    // The report's details need the report.
    for (const char* detail : {"site", "technician"})
        badExport = badExport ||
                    (parser.isSet(QString::fromLatin1(detail)) && options.reportPath.isEmpty());
    // The simulated bus stands in for a COM port.
    const bool simulatedGateway = options.simulate && options.port && options.port->network();
    if (!ok || (!options.config.isEmpty() && !options.simulate) || badExport || simulatedGateway) {
        err << parser.helpText();
        return std::nullopt;
    }
    return options;
}

} // namespace

int main(int argc, char* argv[])
{
    // Settle the mode before the application object: --scan, --record, --version and --help need
    // no display; the PDF of --report is drawn with fonts, which need the GUI application on its
    // display-less platform.
    const QByteArrayList headlessOptions{"--scan", "--record", "--version", "-v",
                                         "--help", "-h",       "-?"};
    bool headless = false;
    bool drawing = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        headless =
            headless || headlessOptions.contains(argument) || argument.startsWith("--record=");
        drawing = drawing || argument == "--report" || argument.startsWith("--report=");
    }
    std::unique_ptr<QCoreApplication> app;
    if (headless && drawing) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else if (headless) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        app = std::make_unique<QApplication>(argc, argv);
    }
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
    // The port asked for instead of the settings file's; the simulated bus is a COM port.
    std::optional<BusPort> port = options->port;
    SimulatedPorts simulated;
    if (options->simulate) {
        QString error;
        port = port.value_or(BusPort(settings.comPort));
        if (!simulated.start(options->config, port->comNumber(), &error)) {
            err << "fenestrix: " << error << Qt::endl;
            return 1;
        }
    }

    RealClock clock;
    QtSerialPorts ports;
    // Without windows the port is the settings file's unless one is asked for; the access object
    // takes the language from the same file.
    BusConnection connection{settings.comPort, options->baud.value_or(settings.baud),
                             settings.gateway, settings.overNetwork};
    if (port)
        connection.use(*port);
    if (options->record)
        return RecordController(clock, ports, connection, *options->record, err);
    if (options->scan) {
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
            .run(connection, out, err,
                 {options->exportPath, options->backupPath, options->reportPath, options->site,
                  options->technician});
    }

    MessageBoxes messages;
    TfmMain mainWindow(clock, ports, messages);
    if (port)
        mainWindow.setStartPort(*port);
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
