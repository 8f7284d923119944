// The port dialog: lists the COM ports that open on this PC, lets the user pick one, and hands
// port number and baud rate back to the main window, which reconnects with them.
#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class SerialPorts;

// Where a serial device that did not open stands with the user's access rights.
enum class DeviceAccess { Missing, Allowed, Denied };
[[nodiscard]] DeviceAccess CheckDeviceAccess(const QString& devicePath);

class TfmComPortWahl final : public QDialog {
    Q_OBJECT
public:
    using AccessCheck = std::function<DeviceAccess(const QString& devicePath)>;

    explicit TfmComPortWahl(SerialPorts& ports, QWidget* parent = nullptr,
                            AccessCheck accessCheck = CheckDeviceAccess);

    // Set before showing; read back after OK.
    void setSettings(int port, int baud);
    [[nodiscard]] int port() const { return m_port; }
    [[nodiscard]] int baud() const { return m_baud; }

    void SetLanguage();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void listPorts();
    void bnUbernehmenClick();

    SerialPorts& m_ports;
    AccessCheck m_accessCheck;
    int m_port = 1;
    int m_baud = 19200;

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QComboBox* cbPort;
    QLabel* Label2;
    QComboBox* cbBaud;
    QLabel* lblHinweis;
    QPushButton* bnUbernehmen;
    QPushButton* bnAbbrechen;
};
