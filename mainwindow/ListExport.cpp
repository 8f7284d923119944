#include "ListExport.h"

#include "WindowListModel.h"
#include "buslink/Veltradt.h"
#include "texts/ProgressReporter.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QStringEncoder>

#include <algorithm>

namespace {

constexpr int kFileNotOpenedText = 274;
constexpr int kListExportCaption = 143;

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
// control unit, whose address cell reads "0".
QList<int> controllerAddresses(const WindowListModel& list)
{
    QList<int> addresses;
    for (int row = 0; row < list.deviceCount(); ++row) {
        if (list.cell(row, 0) != QStringLiteral("0"))
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
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_messages.error(LanguageText(kFileNotOpenedText));
        return Outcome::FileNotOpened;
    }
    Outcome outcome = write(file, date);
    // Buffered bytes that cannot be written (a full disk) make the report as incomplete as a
    // failed write does.
    if (outcome != Outcome::WriteFailed && !file.flush()) {
        m_messages.error(LanguageText(kFileNotOpenedText));
        outcome = Outcome::WriteFailed;
    }
    file.close();
    return outcome;
}

ListExport::Outcome ListExport::write(QIODevice& device, const QDate& date)
{
    const int entries = m_list.deviceCount();
    m_progress.PrepareProgress(ProgressReporter::Export, entries);
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

    // Production data of the access object's current window; failed reads are not looked at.
    const auto eeprom = [this](int memoryAddress) {
        int value = 0;
        (void)m_bus.ReadEepromByte(memoryAddress, value);
        return value;
    };
    const int testYear = eeprom(0x12), testDay = eeprom(0x13), dayHundredsAndShift = eeprom(0x14);
    out.put(QString::asprintf("Fertigungsdatum:  %X%02X, %02X / %X\n", dayHundredsAndShift & 0x0F,
                              testDay, testYear, dayHundredsAndShift >> 4));
    const int serialHigh = eeprom(0x16), serialLow = eeprom(0x15);
    out.put(QString::asprintf("Serial Nummer:  %02X%02X\n", serialHigh, serialLow));
    const int id0 = eeprom(0x17), id1 = eeprom(0x18), id2 = eeprom(0x19), id3 = eeprom(0x1A);
    out.put(QString::asprintf("Artikelnr. KI  %02X %02X%02X %02X\n", id0, id1, id2, id3));

    bool cancelled = false;
    for (int index = 0; index < kParameterCount && !cancelled; ++index) {
        TStrgItem item;
        m_bus.GetParameterInfo(index, item);
        line = item.name;
        // The bar's maximum is the number of list entries, so it fills early on short lists.
        m_progress.setPosition(std::min(index + 1, entries));
        for (int address : addresses) {
            m_processEvents();
            m_bus.SetWindowAddress(address);
            QString text;
            (void)m_bus.GetParameterText(index, text);
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

void acFensterListExecute(QWidget* parent, TFensterSteuerung& bus, const WindowListModel& list,
                          ProgressReporter& progress, UserMessages& messages)
{
    const QString path = QFileDialog::getSaveFileName(
        parent, LanguageText(kListExportCaption), QString(), QStringLiteral("Alle Dateien (*.*)"));
    if (path.isEmpty())
        return;
    ListExport exporter(bus, list, progress, messages, [] { QApplication::processEvents(); });
    (void)exporter.writeFile(path, QDate::currentDate());
}
