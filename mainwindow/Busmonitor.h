// The bus monitor: every telegram the tool exchanges since program start, decoded, with its
// outcome; pause, clear, filter, find, copy and save. Non-modal; it costs the bus nothing.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;
class TelegramTrace;
class TraceTableModel;
class UserMessages;

class TfmBusmonitor final : public QDialog {
    Q_OBJECT
public:
    TfmBusmonitor(TelegramTrace& trace, UserMessages& messages, QWidget* parent = nullptr);

    void SetLanguage();
    // Shows the monitor over `owner`, which may be a modal window, and brings it to the front.
    void showOver(QWidget* owner);
    // Takes over the telegrams traced since the last update.
    void update();
    [[nodiscard]] TraceTableModel& model() { return *m_model; }
    // Saves the lines shown to `path`, as CSV when it ends in ".csv", else as text; says so when
    // the file cannot be written.
    bool saveTo(const QString& path) const;

private:
    void applyFilter();
    void findNext();
    void copySelection() const;
    void showCounts();

    UserMessages& m_messages;
    TraceTableModel* m_model;
    QTableView* m_view;
    QTimer* m_timer;
    QPushButton* bnPause;
    QPushButton* bnLeeren;
    QCheckBox* cbNurFehler;
    QComboBox* cbFenster;
    QLineEdit* edSuchen;
    QPushButton* bnSuchen;
    QPushButton* bnKopieren;
    QPushButton* bnSpeichern;
    QLabel* m_counts;
    bool m_paused = false;
    qint64 m_lastUpdateMs = 0;
};
