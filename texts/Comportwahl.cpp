#include "Comportwahl.h"

#include "NetworkText.h"
#include "Sprachen.h"
#include "buslink/Comport.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QVBoxLayout>

#include <optional>

namespace {

constexpr int kPortCount = 20;
constexpr uint32_t kProbeBaud = 19200;
// The TCP port device servers commonly offer first.
constexpr int kDefaultTcpPort = 4001;

// The COM number at the start of a port text such as "COM3" or "COM3  (/dev/ttyUSB2)".
std::optional<int> ParseComPortText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^COM\\s*([+-]?\\d+)"));
    bool ok = false;
    const int number = pattern.match(text).captured(1).toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

QString PortEntryText(int number, const QString& devicePath)
{
#ifdef Q_OS_WIN
    Q_UNUSED(devicePath);
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("COM%1  (%2)").arg(number).arg(devicePath);
#endif
}

QString NoPermissionNote(int number, const QString& devicePath)
{
    QString group = QFileInfo(devicePath).group();
    if (group.isEmpty())
        group = QStringLiteral("dialout");
    return LanguageText(kTextNoPortPermission).arg(number).arg(devicePath, group);
}

} // namespace

DeviceAccess CheckDeviceAccess(const QString& devicePath)
{
    const QFileInfo device(devicePath);
    if (!device.exists())
        return DeviceAccess::Missing;
    const bool allowed = device.isReadable() && device.isWritable();
    return allowed ? DeviceAccess::Allowed : DeviceAccess::Denied;
}

TfmComPortWahl::TfmComPortWahl(SerialPorts& ports, QWidget* parent, AccessCheck accessCheck)
    : QDialog(parent), m_ports(ports), m_accessCheck(std::move(accessCheck)),
      GroupBox1(new QGroupBox(this)), Label1(new QLabel(GroupBox1)),
      cbPort(new QComboBox(GroupBox1)), Label2(new QLabel(GroupBox1)),
      cbBaud(new QComboBox(GroupBox1)), gbNetzwerk(new QGroupBox(this)),
      lblRechner(new QLabel(gbNetzwerk)), edRechner(new QLineEdit(gbNetzwerk)),
      lblTcpPort(new QLabel(gbNetzwerk)), seTcpPort(new QSpinBox(gbNetzwerk)),
      lblProtokoll(new QLabel(gbNetzwerk)), cbProtokoll(new QComboBox(gbNetzwerk)),
      lblHinweis(new QLabel(this)), bnUbernehmen(new QPushButton(this)),
      bnAbbrechen(new QPushButton(this))
{
    setObjectName(QStringLiteral("fmComPortWahl"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    cbPort->setObjectName(QStringLiteral("cbPort"));
    Label2->setObjectName(QStringLiteral("Label2"));
    cbBaud->setObjectName(QStringLiteral("cbBaud"));
    gbNetzwerk->setObjectName(QStringLiteral("gbNetzwerk"));
    lblRechner->setObjectName(QStringLiteral("lblRechner"));
    edRechner->setObjectName(QStringLiteral("edRechner"));
    lblTcpPort->setObjectName(QStringLiteral("lblTcpPort"));
    seTcpPort->setObjectName(QStringLiteral("seTcpPort"));
    lblProtokoll->setObjectName(QStringLiteral("lblProtokoll"));
    cbProtokoll->setObjectName(QStringLiteral("cbProtokoll"));
    lblHinweis->setObjectName(QStringLiteral("lblHinweis"));
    bnUbernehmen->setObjectName(QStringLiteral("bnUbernehmen"));
    bnAbbrechen->setObjectName(QStringLiteral("bnAbbrechen"));

    cbPort->setEditable(true);
    cbPort->setInsertPolicy(QComboBox::NoInsert);
    cbPort->setMinimumContentsLength(22);
    cbBaud->addItems({QStringLiteral("9600"), QStringLiteral("14400"), QStringLiteral("19200"),
                      QStringLiteral("38400"), QStringLiteral("57600")});
    cbBaud->setEnabled(false);
    gbNetzwerk->setCheckable(true);
    seTcpPort->setRange(1, 65535);
    // The entries stand in the protocol's order: raw TCP, RFC 2217.
    cbProtokoll->addItems({QString(), QString()});
    lblHinweis->setWordWrap(true);
    lblHinweis->hide();
    bnUbernehmen->setDefault(true);

    auto* fields = new QGridLayout(GroupBox1);
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(cbPort, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(cbBaud, 1, 1);
    fields->setColumnStretch(1, 1);
    auto* network = new QGridLayout(gbNetzwerk);
    network->addWidget(lblRechner, 0, 0);
    network->addWidget(edRechner, 0, 1);
    network->addWidget(lblTcpPort, 1, 0);
    network->addWidget(seTcpPort, 1, 1);
    network->addWidget(lblProtokoll, 2, 0);
    network->addWidget(cbProtokoll, 2, 1);
    network->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bnUbernehmen);
    buttons->addWidget(bnAbbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(gbNetzwerk);
    layout->addWidget(lblHinweis);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(bnUbernehmen, &QPushButton::clicked, this, &TfmComPortWahl::bnUbernehmenClick);
    connect(bnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(gbNetzwerk, &QGroupBox::toggled, this, &TfmComPortWahl::updateEntries);
    connect(edRechner, &QLineEdit::textChanged, this, &TfmComPortWahl::updateEntries);
    SetLanguage();
}

void TfmComPortWahl::setSettings(int port, int baud)
{
    m_port = port;
    m_baud = baud;
}

void TfmComPortWahl::setGateway(const std::optional<NetworkPort>& gateway, bool overNetwork)
{
    m_gateway = gateway;
    m_overNetwork = overNetwork && gateway;
}

void TfmComPortWahl::SetLanguage()
{
    setWindowTitle(LanguageText(58));
    GroupBox1->setTitle(LanguageText(170));
    Label1->setText(LanguageText(34));
    Label2->setText(LanguageText(21));
    gbNetzwerk->setTitle(NetworkLanguageText(NetworkText::Gateway));
    lblRechner->setText(NetworkLanguageText(NetworkText::Host));
    lblTcpPort->setText(NetworkLanguageText(NetworkText::TcpPort));
    lblProtokoll->setText(NetworkLanguageText(NetworkText::Protocol));
    cbProtokoll->setItemText(int(NetworkPort::Protocol::RawTcp),
                             NetworkLanguageText(NetworkText::RawTcp));
    cbProtokoll->setItemText(int(NetworkPort::Protocol::Rfc2217),
                             NetworkLanguageText(NetworkText::Rfc2217));
    bnUbernehmen->setText(LanguageText(242));
    bnAbbrechen->setText(LanguageText(2));
}

void TfmComPortWahl::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfmComPortWahl::FormShow()
{
    listPorts();
    const int stored = cbPort->findData(m_port);
    cbPort->setCurrentIndex(stored >= 0 ? stored : 0);
    cbBaud->setCurrentIndex(cbBaud->findText(QString::number(m_baud)));
    const NetworkPort entry = m_gateway.value_or(NetworkPort{{}, {}, kDefaultTcpPort});
    edRechner->setText(entry.host);
    seTcpPort->setValue(entry.port);
    cbProtokoll->setCurrentIndex(int(entry.protocol));
    gbNetzwerk->setChecked(m_overNetwork);
    updateEntries();
}

void TfmComPortWahl::updateEntries()
{
    const bool network = gbNetzwerk->isChecked();
    Label1->setEnabled(!network);
    cbPort->setEnabled(!network);
    bnUbernehmen->setEnabled(!network || !edRechner->text().trimmed().isEmpty());
}

// Tries every COM number at the scan's baud rate; the caller has released its own port before.
void TfmComPortWahl::listPorts()
{
    cbPort->clear();
    QStringList notes;
    // The probe receives nothing worth a byte log.
    TCOMport probe(m_ports, QString());
    for (int number = 0; number < kPortCount; ++number) {
        const QString path = m_ports.devicePath(number);
        if (path.isEmpty())
            continue;
        if (probe.Open(number, kProbeBaud, 0, 0)) {
            probe.Close();
            cbPort->addItem(PortEntryText(number, path), number);
        } else if (m_accessCheck(path) == DeviceAccess::Denied) {
            notes << NoPermissionNote(number, path);
        }
    }
    lblHinweis->setText(notes.join(u'\n'));
    lblHinweis->setVisible(!notes.isEmpty());
}

// Text that names no COM port keeps the previous port; the disabled baud list keeps its rate.
void TfmComPortWahl::bnUbernehmenClick()
{
    if (const std::optional<int> number = ParseComPortText(cbPort->currentText()))
        m_port = std::max(*number, 0);
    bool ok = false;
    const int baud = cbBaud->currentText().toInt(&ok);
    if (ok)
        m_baud = baud;
    // The entry is kept with a host, also while the COM port is chosen.
    const QString host = edRechner->text().trimmed();
    m_gateway.reset();
    if (!host.isEmpty())
        m_gateway = NetworkPort{NetworkPort::Protocol(cbProtokoll->currentIndex()), host,
                                static_cast<uint16_t>(seTcpPort->value())};
    m_overNetwork = gbNetzwerk->isChecked() && m_gateway;
    accept();
}
