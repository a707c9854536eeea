// The widget the game plays in, between Qt's events and the game's handlers.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "GameView.h"
#include "PixelSurface.h"
#include "QtPorts.h"
#include "Random.h"
#include "SoundPlayer.h"
#include "SystemClock.h"
#include "ViewAccessible.h"

namespace tessaform {

// The game's window: it owns the picture of its client area, which the game
// draws into at once, and hands presses, timer expiries and repaints to the game.
class CTessaformView : public QWidget {
    Q_OBJECT

public:
    // Plays over SDL unless given a sound port; tests pass a silent one.
    CTessaformView(QWidget* parent, std::function<void(const std::string&)> setDocumentTitle,
                   SoundPort* sound = nullptr);
    ~CTessaformView() override;

    GameView& Game() { return *game_; }

    // The game's repaint, run from the event queue: never inside a paint event,
    // because it may wait for a sound.
    void RequestRepaint();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void RunRepaint();
    // Runs one of the game's handlers, for the expiry of timer `timerId` or (0) anything
    // else, then shows what it drew.
    void Handle(const std::function<void()>& handler, int timerId = 0);

    PixelSurface surface_;
    SystemClock clock_;
    QtTimers timers_;
    QtMessageBoxes messages_;
    std::unique_ptr<SoundPlayer> ownSound_;  // only when no sound port was given
    SeededRandom random_;
    std::unique_ptr<GameView> game_;
    ViewAccessible* accessible_;  // Qt's cache owns it
    bool repaintQueued_ = false;
    bool exposedOnce_ = false;
};

}  // namespace tessaform
