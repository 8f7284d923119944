// The windows of the devices (controller window, group control unit dialog) opened through a main
// window on the simulated default bus (virtual clock), wired as the program wires it, with the
// helpers their tests share.
#pragma once

#include "RecordedMessages.h"
#include "ScanHarness.h"
#include "WhenShown.h"
#include "controller/Fenster.h"
#include "controller/ViewProbe.h"
#include "mainwindow/Main.h"
#include "sim/BusSetup.h"
#include "sim/MemoryBusPorts.h"
#include "sim/SimulatedBus.h"
#include "texts/Sprachen.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

// Runs `act` on the controller window as soon as it is shown.
inline void whenShown(TfmMain& main, std::function<void(TfmFenster&)> act)
{
    whenShown<TfmFenster>(
        main, [&main] { return &main.controllerWindow(); }, std::move(act));
}

inline QString textOf(TfmFenster& window, const char* name)
{
    if (auto* l = window.findChild<QLabel*>(QString::fromLatin1(name)))
        return l->text();
    return window.findChild<QAbstractButton*>(QString::fromLatin1(name))->text();
}

inline TFensterInfo controllerAt(int address)
{
    TFensterInfo info;
    info.address = address;
    info.windowKind = 1;
    return info;
}

// A main window on the simulated default bus, without its start-up scan, wired as the program
// wires it.
struct ControllerWindowTest : ::testing::Test {
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    VirtualClock clock;
    SimulatedBus bus{DefaultBusSetup()};
    MemoryBusPorts memoryPorts{clock, bus, {1}};
    TracingPorts ports{memoryPorts, clock};
    RecordedMessages messages;
    std::unique_ptr<TfmMain> main;

    void SetUp() override
    {
        QDir::setCurrent(dir.path());
        SetCurrentLanguage(German);
        main = std::make_unique<TfmMain>(clock, ports, messages);
        main->findChild<QTimer*>(QStringLiteral("Einschaltverzoegerung"))->stop();
        QObject::connect(main.get(), &TfmMain::deviceWindowRequested, main.get(),
                         [this](int address) {
                             if (address != 0)
                                 main->openControllerWindow();
                             else
                                 main->openGroupUnitWindow();
                         });
        main->show();
    }
    void TearDown() override
    {
        main.reset();
        QDir::setCurrent(previousDir);
        SetCurrentLanguage(German);
    }
    // What the simulated controller at `address` made of the telegrams so far.
    SimulatedController::Observed controller(int address)
    {
        return bus.controllerAt(address)->observe(clock.nowUs());
    }
    // The requests from number `from` on, as "mode:memory=data".
    QStringList requestsFrom(qsizetype from) const
    {
        QStringList out;
        for (qsizetype i = from; i < ports.requests.size(); ++i)
            out << requestText(ports.requests[i]);
        return out;
    }
    // Answers the mode button's question with "Yes" and refreshes: the window shows commissioning.
    void enterCommissioning(TfmFenster& window)
    {
        messages.answers.prepend(true);
        window.findChild<QAbstractButton*>(QStringLiteral("bnModus"))->click();
        window.TimerTimer();
    }
    void open(int address, std::function<void(TfmFenster&)> act)
    {
        main->windowList().AddWindowRow(controllerAt(address));
        main->selectRow(main->windowList().deviceCount() - 1);
        whenShown(*main, [act](TfmFenster& window) {
            act(window);
            window.reject();
        });
        main->acFensterExecute();
    }
};
