#include "ConsoleScan.h"

#include "ConsoleMessages.h"
#include "buslink/PortMessages.h"
#include "buslink/Veltradt.h"
#include "controller/core/BackupRead.h"
#include "mainwindow/core/ListExport.h"
#include "report/ReportPdf.h"
#include "report/core/ReportRead.h"
#include "service/core/EepromFlowHost.h"
#include "texts/BackupText.h"
#include "texts/ProgressReporter.h"
#include "texts/Sprachen.h"

#include <QCoreApplication>

namespace {

// The reply time-out of the access object's connection, as the main window uses it.
constexpr int kReplyTimeoutMs = 150;

// Progress on standard error: one line per address, and for the backup's byte reads one line
// per tenth of the way.
class ConsoleProgress final : public ProgressReporter {
public:
    explicit ConsoleProgress(QTextStream& err) : m_err(err) {}
    void PrepareProgress(int kind, int maximum) override
    {
        m_maximum = maximum;
        m_inTenths = kind == BackupRead;
        m_lastTenth = -1;
    }
    void showProgress() override {}
    void setPosition(int position) override
    {
        if (m_inTenths) {
            const int tenth = m_maximum > 0 ? position * 10 / m_maximum : 0;
            if (tenth == m_lastTenth)
                return;
            m_lastTenth = tenth;
        }
        m_err << position << "/" << m_maximum << Qt::endl;
    }
    bool aborted() const override { return false; }
    void closeProgress() override {}

private:
    QTextStream& m_err;
    int m_maximum = 0;
    bool m_inTenths = false;
    int m_lastTenth = -1;
};

class ConsoleHost final : public BusScanHost, public EepromFlowHost {
public:
    explicit ConsoleHost(QTextStream& err) : m_messages(err), m_progress(err) {}
    void setScanCommandsEnabled(bool) override {}
    void DisconnectBus(bool) override {}
    void ConnectBus() override {}
    bool confirmScanStart() override { return true; }
    void processEvents() override { QCoreApplication::processEvents(); }
    void setScanStatus(const QString&, bool) override {}
    ProgressReporter& progress() override { return m_progress; }
    UserMessages& messages() override { return m_messages; }

private:
    ConsoleMessages m_messages;
    ConsoleProgress m_progress;
};

} // namespace

ConsoleScan::ConsoleScan(Clock& clock, SerialPorts& ports) : m_clock(clock), m_ports(ports) {}

int ConsoleScan::run(const BusConnection& connection, QTextStream& out, QTextStream& err,
                     const ScanOutputs& outputs)
{
    TFensterSteuerung bus(m_clock, m_ports);
    WindowListModel list;
    ConsoleHost host(err);
    const ScanResult result = BusScan(m_clock, m_ports, bus, list, host).run(connection);
    if (!result.portOpened)
        return 1;
    out << WindowListHeader().join(u'\t') << '\n';
    for (int row = 0; row < list.deviceCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < kWindowListColumns; ++column)
            cells << list.cell(row, column);
        out << cells.join(u'\t') << '\n';
    }
    out << result.summary << Qt::endl;
    if (!outputs.any())
        return 0;

    // The reports and the backup read through the access object, connected as the main window
    // connects it; its window address is whatever the scan left.
    if (!bus.Connect(connection.baud, connection.port(), kReplyTimeoutMs)) {
        host.messages().error(
            PortNotOpenedText(connection.port(), bus.openFailure(), connection.baud));
        return 1;
    }
    bool written = true;
    if (!outputs.exportPath.isEmpty()) {
        ListExport exporter(bus, list, host.progress(), host.messages(),
                            [&host] { host.processEvents(); });
        written = exporter.writeFile(outputs.exportPath, QDate::currentDate()) ==
                  ListExport::Outcome::Written;
    }
    if (!outputs.backupPath.isEmpty()) {
        const QList<int> controllers = list.controllerAddresses();
        if (controllers.isEmpty()) {
            host.messages().error(BackupLanguageText(BackupText::NoControllers));
            written = false;
        } else {
            written = BackupRead(bus, host).save(controllers, outputs.backupPath) && written;
        }
    }
    if (!outputs.reportPath.isEmpty()) {
        ReportRead read(bus, m_clock, host);
        const ReportVisit visit{outputs.site, outputs.technician, QDateTime::currentDateTime(),
                                connection};
        written = SaveReport(read, list, visit, outputs.reportPath, host.messages()) && written;
    }
    return written ? 0 : 1;
}
