// The window list export ("Liste erstellen"): a Windows-1252 text report with CR LF line ends
// of every controller in the list, with production data and a fresh read of every parameter.
#pragma once

#include <QDate>
#include <QString>

#include <functional>

class ProgressReporter;
class QIODevice;
class QWidget;
class TFensterSteuerung;
class UserMessages;
class WindowListModel;

class ListExport {
public:
    enum class Outcome { Written, Cancelled, FileNotOpened, WriteFailed };

    ListExport(TFensterSteuerung& bus, const WindowListModel& list, ProgressReporter& progress,
               UserMessages& messages, std::function<void()> processEvents);

    // Creates or truncates the file and writes the report dated `date`. A file that cannot be
    // opened gives text 274 and nothing is read from the bus; so does, after the report, a file
    // that could not take all of it (a full disk).
    [[nodiscard]] Outcome writeFile(const QString& path, const QDate& date);
    // Writes the report to a device that is open for writing.
    [[nodiscard]] Outcome write(QIODevice& device, const QDate& date);

private:
    TFensterSteuerung& m_bus;
    const WindowListModel& m_list;
    ProgressReporter& m_progress;
    UserMessages& m_messages;
    std::function<void()> m_processEvents;
};

// The main window's action "Liste erstellen": the save dialog (overwrite question, no default
// extension), then the report of today to the chosen file; nothing when the dialog is cancelled.
void acFensterListExecute(QWidget* parent, TFensterSteuerung& bus, const WindowListModel& list,
                          ProgressReporter& progress, UserMessages& messages);
