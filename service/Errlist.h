// The event list: the sixteen event bits of the controller (and of a PAF master's slave) as
// on/off icons with their texts, read again every 800 ms while the list is open.
#pragma once

#include <QDialog>
#include <QPixmap>

class QGroupBox;
class QLabel;
class QTimer;
class TFensterSteuerung;

class TfmErrList final : public QDialog {
    Q_OBJECT
public:
    explicit TfmErrList(TFensterSteuerung& bus, QWidget* parent = nullptr);

    // Shows the list of a controller of this type: one refresh, the layout, the texts, the timer.
    void showFor(int controllerType);
    // The layout and texts in the current language (also after a language change).
    void SetLanguage();
    void TimerTimer();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void applyLayout();

    TFensterSteuerung& m_bus;
    int m_controllerType = 1;
    QPixmap m_icons[2];
    QGroupBox* GroupBox;
    QTimer* Timer;
};
