// The controller window: one controller's live state, picture and settings. It applies what the
// refresh in controller/core produced to its controls and runs the refresh timer.
#pragma once

#include "controller/core/ControllerRefresh.h"

#include <QDialog>
#include <QPixmap>

class QLabel;
class QStatusBar;
class QTimer;
class BusSession;

class TfmFenster final : public QDialog, private RefreshHost {
    Q_OBJECT
public:
    // `programDirectory` holds the picture files.
    TfmFenster(BusSession& session, ControllerState& state, QString programDirectory,
               QWidget* parent = nullptr);
    ~TfmFenster() override;

    void SetLanguage();
    void SetSize();
    // The opening: reads, the first refresh, the refresh timer. The caller then shows the window
    // modally.
    void FormShow();
    // One tick of the refresh timer.
    void TimerTimer();

signals:
    // "Info" runs the main window's action.
    void infoRequested();

protected:
    void done(int result) override;

private:
    void processEvents() override;
    [[nodiscard]] bool closed() const override { return !m_open; }
    [[nodiscard]] bool rollerTestRunning() const override;
    void reconnect() override;

    void createToolBar(class QVBoxLayout* layout);
    QWidget* createStateColumn();
    QWidget* createDriveColumn();
    QWidget* createInfoColumn();
    void apply(const RefreshResult& result);
    void applyView(const ControllerView& view);
    void applyPicture(const PictureRebuild& rebuild, const std::optional<PictureOverlay>& radio);
    void drawIcon(LockElement element, LockingIcon icon);
    [[nodiscard]] QPixmap iconPixmap(LockingIcon icon) const;

    BusSession& m_session;
    ControllerState& m_state;
    QString m_programDirectory;
    ControllerRefresh m_refresh;
    bool m_open = false;

    QTimer* Timer = nullptr;
    QTimer* RollenTimer = nullptr;
    QLabel* imFenster = nullptr;
    QStatusBar* StatusBar = nullptr;
};
