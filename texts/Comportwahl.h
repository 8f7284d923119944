// The port dialog: lists the COM ports that open on this PC, lets the user pick one or enter a
// network gateway, and hands them and the baud rate back to the main window, which reconnects.
#pragma once

#include "platform/BusPort.h"

#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
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
    // The gateway entered, kept while a COM port is in use, and whether it is the port to use.
    void setGateway(const std::optional<NetworkPort>& gateway, bool overNetwork);
    [[nodiscard]] const std::optional<NetworkPort>& gateway() const { return m_gateway; }
    [[nodiscard]] bool overNetwork() const { return m_overNetwork; }

    void SetLanguage();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void listPorts();
    void bnUbernehmenClick();
    // The network entry switches the COM port off; it needs a host to be taken.
    void updateEntries();

    SerialPorts& m_ports;
    AccessCheck m_accessCheck;
    int m_port = 1;
    int m_baud = 19200;
    std::optional<NetworkPort> m_gateway;
    bool m_overNetwork = false;

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QComboBox* cbPort;
    QLabel* Label2;
    QComboBox* cbBaud;
    QGroupBox* gbNetzwerk;
    QLabel* lblRechner;
    QLineEdit* edRechner;
    QLabel* lblTcpPort;
    QSpinBox* seTcpPort;
    QLabel* lblProtokoll;
    QComboBox* cbProtokoll;
    QLabel* lblHinweis;
    QPushButton* bnUbernehmen;
    QPushButton* bnAbbrechen;
};
