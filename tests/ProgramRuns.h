// The programs of an end-to-end test: "fenestrix-sim" serving a bus until the test ends, and
// "fenestrix --scan" run to its end with what it printed.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct SimulatorProcess {
    QProcess process;
    bool start(const QStringList& arguments)
    {
        process.start(QStringLiteral(FENESTRIX_SIM_PROGRAM), arguments);
        // The first line of output is the terminal's path: the bus is served from then on.
        return process.waitForStarted(5000) && process.waitForReadyRead(5000) &&
               process.readLine().startsWith("/dev/");
    }
    ~SimulatorProcess()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
};

struct ScanRun {
    int exitCode = -1;
    QString out;
    QString err;
};

inline ScanRun runScan(const QString& workDir, const QString& portsDir,
                       const QStringList& arguments)
{
    QProcess scan;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FENESTRIX_PORTS"), portsDir);
    scan.setProcessEnvironment(env);
    scan.setWorkingDirectory(workDir);
    scan.start(QStringLiteral(FENESTRIX_PROGRAM),
               QStringList{QStringLiteral("--scan")} + arguments);
    scan.waitForFinished(120000);
    return {scan.exitStatus() == QProcess::NormalExit ? scan.exitCode() : -1,
            QString::fromUtf8(scan.readAllStandardOutput()),
            QString::fromUtf8(scan.readAllStandardError())};
}
