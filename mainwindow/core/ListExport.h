// The window list export ("Liste erstellen"): a Windows-1252 text report with CR LF line ends
// of every controller in the list, with production data and a fresh read of every parameter.
#pragma once

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

class ProgressReporter;
class QIODevice;
class TFensterSteuerung;
class UserMessages;
class WindowListModel;

class ListExport {
public:
    enum class Outcome { Written, Cancelled, FileNotOpened, WriteFailed };

    ListExport(TFensterSteuerung& bus, const WindowListModel& list, ProgressReporter& progress,
               UserMessages& messages, std::function<void()> processEvents);

    // The production lines describe this controller when the list holds it (the controller
    // opened last), else the first controller of the list.
    void setProductionController(std::optional<int> address) { m_openedLast = address; }

    // Writes the report dated `date` to the file, whole or not at all: a cancelled report says
    // that nothing was written, and the file that was there stays. A file that cannot be opened
    // gives text 274 and nothing is read from the bus; so does, after the report, a file that
    // could not take all of it (a full disk).
    [[nodiscard]] Outcome writeFile(const QString& path, const QDate& date);
    // Writes the report to a device that is open for writing.
    [[nodiscard]] Outcome write(QIODevice& device, const QDate& date);

private:
    [[nodiscard]] std::optional<int> productionController(const QList<int>& controllers) const;
    [[nodiscard]] QString productionLines(std::optional<int> controller);

    TFensterSteuerung& m_bus;
    const WindowListModel& m_list;
    ProgressReporter& m_progress;
    UserMessages& m_messages;
    std::function<void()> m_processEvents;
    std::optional<int> m_openedLast;
};
