// The backup commands through the windows on the simulated default bus: the controller window's
// save, comparison view and restore, the EEPROM dialog's save, the main window's whole-bus save.
#include "ControllerWindowFixture.h"
#include "controller/Vergleich.h"
#include "controller/core/ControllerBackup.h"
#include "service/Eeprom.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTableWidget>
#include <QToolBar>

namespace {

// The backup at `path` with EEPROM byte `address` (21h..2Fh) of its first controller set to
// `value`, and page 0's checksum with it, as a backup made with that setting would be.
void setSavedByte(const QString& path, int address, int value)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    QJsonArray controllers = root[QStringLiteral("controllers")].toArray();
    QJsonObject first = controllers[0].toObject();
    QByteArray bytes = QByteArray::fromHex(first[QStringLiteral("eeprom")].toString().toLatin1());
    bytes[address] = char(value);
    char checksum = 0;
    for (int a = 0x21; a <= 0x2F; ++a)
        checksum ^= bytes[a];
    bytes[0x30] = checksum;
    const QByteArray hex = bytes.toHex().toUpper();
    first[QStringLiteral("eeprom")] = QString::fromLatin1(hex);
    first[QStringLiteral("eepromSha256")] =
        QString::fromLatin1(QCryptographicHash::hash(hex, QCryptographicHash::Sha256).toHex());
    controllers[0] = first;
    root[QStringLiteral("controllers")] = controllers;
    file.resize(0);
    file.write(QJsonDocument(root).toJson());
}

BackupFileRead readBackup(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {BackupFileError::NotOpened, {}, 0};
    return ReadBackupFile(file.readAll());
}

struct ComparisonView {
    QString header;
    QStringList rows;
    QString count;
};

// Runs the comparison with `path` and reads the view it shows.
ComparisonView compare(TfmFenster& window, const QString& path)
{
    ComparisonView view;
    whenShown<TfmVergleich>(
        window, [&window] { return window.findChild<TfmVergleich*>(); },
        [&view](TfmVergleich& dialog) {
            view.header = dialog.findChild<QLabel*>(QStringLiteral("lblSicherung"))->text();
            auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("sgVergleich"));
            for (int row = 0; row < table->rowCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < table->columnCount(); ++column)
                    cells << table->item(row, column)->text();
                view.rows << cells.join(u'|');
            }
            view.count = dialog.findChild<QLabel*>(QStringLiteral("lblUnterschiede"))->text();
            dialog.accept();
        });
    window.compareWith(path);
    return view;
}

} // namespace

TEST_F(ControllerWindowTest, ControllerWindowSavesComparesAndRestores)
{
    const QString path = dir.filePath(QStringLiteral("chain.json"));
    bool toolBarEnabledDuringSave = true;
    ComparisonView before, after;
    QString openingWidthShown, lockShown;
    open(2, [&](TfmFenster& window) {
        // Neither another command nor closing the window gets in while the save reads.
        QTimer::singleShot(0, &window, [&] {
            toolBarEnabledDuringSave =
                window.findChild<QToolBar*>(QStringLiteral("ToolBar1"))->isEnabled();
            window.reject();
        });
        window.saveBackupTo(path);
        ASSERT_TRUE(window.isVisible());
        EXPECT_TRUE(window.findChild<QToolBar*>(QStringLiteral("ToolBar1"))->isEnabled());
        EXPECT_EQ(main->bus().pollingState(), TFensterSteuerung::PollingRunning);
        EXPECT_TRUE(window.findChild<QTimer*>(QStringLiteral("Timer"))->isActive());

        // A backup made with opening-width position 6 instead of the factory's 3.
        setSavedByte(path, 0x25, 6);
        before = compare(window, path);

        messages.answers << true;
        window.restoreFrom(path);
        for (int tick = 0; tick < 4; ++tick)
            window.TimerTimer();
        openingWidthShown =
            window.findChild<QComboBox*>(QStringLiteral("cbKippAntr"))->currentText();
        lockShown = textOf(window, "lblSRO");
        after = compare(window, path);
    });
    EXPECT_FALSE(toolBarEnabledDuringSave);
    EXPECT_TRUE(messages.shown.contains(
        QStringLiteral("notice: Sichern: Die Einstellungen wurden gesichert in:\n") +
        QDir::toNativeSeparators(path)))
        << messages.shown.join(u'\n').toStdString();

    EXPECT_TRUE(before.header.startsWith(QStringLiteral("Sicherung vom ")));
    EXPECT_TRUE(before.header.endsWith(QStringLiteral("(Steuergerät 2, Seriennr. 24 066 1002)")))
        << before.header.toStdString();
    ASSERT_EQ(before.rows.size(), 2);
    EXPECT_TRUE(before.rows[0].startsWith(QStringLiteral("25h|")));
    EXPECT_TRUE(before.rows[0].endsWith(QStringLiteral("|06h = 130 mm|03h = 70 mm|geändert")))
        << before.rows[0].toStdString();
    EXPECT_TRUE(before.rows[1].startsWith(QStringLiteral("30h|"))) << "page 0's checksum";
    EXPECT_EQ(before.count, QStringLiteral("2 Unterschiede"));

    EXPECT_EQ(bus.controllerAt(2)->eepromByte(0x25), 6);
    EXPECT_EQ(openingWidthShown, QStringLiteral("130"));
    EXPECT_EQ(lockShown, QStringLiteral("Rechter Strang verriegelt")) << "set up again whole";
    const QString question = messages.shown.filter(QStringLiteral("confirm: ")).last();
    EXPECT_TRUE(question.contains(QStringLiteral("25h Öffnungsweite: 70 mm → 130 mm")));
    EXPECT_TRUE(after.rows.isEmpty()) << after.rows.join(u'\n').toStdString();
    EXPECT_EQ(after.count, QStringLiteral("Keine Unterschiede zur Sicherung."));
}

TEST_F(ControllerWindowTest, EepromDialogSavesTheControllerItShows)
{
    const QString path = dir.filePath(QStringLiteral("eeprom.json"));
    open(5, [&](TfmFenster& window) {
        whenShown<TfmEeprom>(
            window, [&window] { return window.findChild<TfmEeprom*>(); },
            [&path](TfmEeprom& dialog) {
                dialog.saveBackupTo(path);
                dialog.reject();
            });
        window.findChild<QAbstractButton*>(QStringLiteral("ToolButton3"))->click();
    });
    const BackupFileRead read = readBackup(path);
    ASSERT_EQ(read.file.controllers.size(), 1);
    EXPECT_EQ(read.file.controllers[0].identity.busAddress, 5);
    EXPECT_EQ(read.file.controllers[0].identity.controllerType, 8);
}

TEST_F(ControllerWindowTest, MainWindowSavesEveryControllerOfTheList)
{
    const QString path = dir.filePath(QStringLiteral("bus.json"));
    main->saveBusBackupTo(path);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(messages.shown.last().endsWith(
        QStringLiteral("Keine Steuergeräte in der Liste. Bitte zuerst den Bus absuchen.")));

    TFensterInfo groupUnit;
    groupUnit.kind = DeviceKind::GroupUnit;
    main->windowList().AddWindowRow(groupUnit);
    for (int address : {3, 1})
        main->windowList().AddWindowRow(controllerAt(address));
    main->saveBusBackupTo(path);
    const BackupFileRead read = readBackup(path);
    ASSERT_EQ(read.file.controllers.size(), 2);
    EXPECT_EQ(read.file.controllers[0].identity.busAddress, 3);
    EXPECT_EQ(read.file.controllers[1].identity.busAddress, 1);
    for (int i = 0; i < 2; ++i) {
        for (int a = 0; a < kEepromBytes; ++a)
            ASSERT_EQ(read.file.controllers[i].bytes[size_t(a)],
                      bus.controllerAt(i == 0 ? 3 : 1)->eepromByte(a));
    }
    EXPECT_TRUE(main->findChild<QAction*>(QStringLiteral("acSichernAlle"))->isEnabled());
}
