#include "ListExport.h"

#include "WindowListModel.h"
#include "buslink/Veltradt.h"
#include "platform/WholeFile.h"
#include "texts/BackupText.h"
#include "texts/ProgressReporter.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

#include <QStringEncoder>

#include <initializer_list>

namespace {

constexpr int kFileNotOpenedText = 274;
constexpr int kNoticeCaption = 116;
const QString kUnreadable = QStringLiteral("?");

// Writes text as Windows-1252 with every "\n" as CR LF, and remembers whether a write failed.
class ReportWriter {
public:
    explicit ReportWriter(QIODevice& device) : m_device(device), m_encoder("windows-1252") {}

    void put(QString text)
    {
        text.replace(u'\n', QStringLiteral("\r\n"));
        const QByteArray bytes = m_encoder(text);
        m_failed = m_failed || m_device.write(bytes) != bytes.size();
    }

    [[nodiscard]] bool failed() const { return m_failed; }

private:
    QIODevice& m_device;
    QStringEncoder m_encoder;
    bool m_failed = false;
};

// The addresses of the list's controllers in list order: every device row but the group
// control unit.
QList<int> controllerAddresses(const WindowListModel& list)
{
    QList<int> addresses;
    for (int row = 0; row < list.deviceCount(); ++row) {
        if (!list.device(row)->isGroupUnit())
            addresses << list.rowAddress(row);
    }
    return addresses;
}

} // namespace

ListExport::ListExport(TFensterSteuerung& bus, const WindowListModel& list,
                       ProgressReporter& progress, UserMessages& messages,
                       std::function<void()> processEvents)
    : m_bus(bus), m_list(list), m_progress(progress), m_messages(messages),
      m_processEvents(std::move(processEvents))
{}

ListExport::Outcome ListExport::writeFile(const QString& path, const QDate& date)
{
    // Written whole or not at all: a cancelled or failed report leaves the file that was there.
    WholeFile file(path);
    if (!file.open()) {
        m_messages.error(LanguageText(kFileNotOpenedText));
        return Outcome::FileNotOpened;
    }
    const Outcome outcome = write(file.device(), date);
    if (outcome == Outcome::Cancelled) {
        file.cancel();
        m_messages.notice(LanguageText(kNoticeCaption),
                          BackupLanguageText(BackupText::ReadCancelled));
        return outcome;
    }
    if (outcome == Outcome::WriteFailed) {
        file.cancel();
        return outcome;
    }
    // Bytes that cannot be written at the end (a full disk) fail the report as a failed write
    // does.
    if (!file.commit()) {
        m_messages.error(LanguageText(kFileNotOpenedText));
        return Outcome::WriteFailed;
    }
    return outcome;
}

std::optional<int> ListExport::productionController(const QList<int>& controllers) const
{
    if (m_openedLast && controllers.contains(*m_openedLast))
        return m_openedLast;
    if (!controllers.isEmpty())
        return controllers.first();
    return std::nullopt;
}

QString ListExport::productionLines(std::optional<int> controller)
{
    if (controller)
        m_bus.SetWindowAddress(*controller);
    // One line: its label, then its EEPROM bytes (read in this order) formatted, or "?" when
    // one of them could not be read.
    const auto line = [&](const char* label, std::initializer_list<int> addresses,
                          const auto& format) {
        QList<int> b;
        for (int address : addresses) {
            int value = 0;
            if (!controller || m_bus.ReadEepromByte(address, value) != 0)
                return QString::fromLatin1(label) + kUnreadable + u'\n';
            b << value;
        }
        return QString::fromLatin1(label) + format(b) + u'\n';
    };
    // Three statements: the lines are read in their order.
    QString text = line("Fertigungsdatum:  ", {0x12, 0x13, 0x14}, [](const QList<int>& b) {
        return QString::asprintf("%X%02X, %02X / %X", b[2] & 0x0F, b[1], b[0], b[2] >> 4);
    });
    text += line("Serial Nummer:  ", {0x16, 0x15},
                 [](const QList<int>& b) { return QString::asprintf("%02X%02X", b[0], b[1]); });
    text += line("Artikelnr. KI  ", {0x17, 0x18, 0x19, 0x1A}, [](const QList<int>& b) {
        return QString::asprintf("%02X %02X%02X %02X", b[0], b[1], b[2], b[3]);
    });
    return text;
}

ListExport::Outcome ListExport::write(QIODevice& device, const QDate& date)
{
    // The bar advances once per parameter line, over the whole report.
    m_progress.PrepareProgress(ProgressReporter::Export, kParameterCount);
    m_progress.showProgress();
    m_processEvents();

    ReportWriter out(device);
    out.put(QStringLiteral("Veltra Fenestrix Fensterliste\n\n"));
    out.put(QString::asprintf("   Datum: %d.%d.%d\n", date.day(), date.month(), date.year()));
    out.put(QStringLiteral("\n- - - - - - - - - - - - - - - -\n\n"));

    // From here on every parameter is read from the controller, never from the polling cache.
    m_bus.StopPolling();

    const QList<int> addresses = controllerAddresses(m_list);
    QString line = QStringLiteral("Fenestrix Adresse") + QString(24, u' ') + QStringLiteral("\t\t");
    for (int address : addresses)
        line += QString::asprintf(" %d \t\t", address);
    out.put(line + u'\n');

    out.put(productionLines(productionController(addresses)));

    bool cancelled = false;
    for (int index = 0; index < kParameterCount && !cancelled; ++index) {
        TStrgItem item;
        m_bus.GetParameterInfo(index, item);
        line = item.name;
        m_progress.setPosition(index + 1);
        for (int address : addresses) {
            m_processEvents();
            m_bus.SetWindowAddress(address);
            QString text;
            if (m_bus.GetParameterText(index, text) != TFensterSteuerung::ParOk)
                text = kUnreadable;
            line += QStringLiteral("\t\t ") + text + u' ';
            if (m_progress.aborted())
                break;
        }
        out.put(line + u'\n');
        cancelled = m_progress.aborted();
        if (cancelled)
            out.put(QStringLiteral("\nUNVOLLSTÄNDIG, da User-Abbruch!\n"));
    }
    m_progress.closeProgress();

    if (out.failed()) {
        m_messages.error(LanguageText(kFileNotOpenedText));
        return Outcome::WriteFailed;
    }
    return cancelled ? Outcome::Cancelled : Outcome::Written;
}
