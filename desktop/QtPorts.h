// The Qt side of the view's ports: window timers and message boxes.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <chrono>

#include "Ports.h"
#include "WindowTimers.h"

namespace tessaform {

// Window timers on the view, as Qt's precise timers: each expiry arrives as a timer event
// in the same queue as the presses and repaints.
class QtTimers : public WindowTimers {
public:
    QtTimers(QObject* owner, int clockId) : WindowTimers(clockId), owner_(owner) {}
    void Wait(std::chrono::milliseconds time) override;

protected:
    int Start(std::chrono::milliseconds first) override;
    void Stop(int handle) override;

private:
    QObject* owner_;
};

// Modal boxes owned by the main window; their loop goes on delivering timer events.
class QtMessageBoxes : public MessageBoxPort {
public:
    explicit QtMessageBoxes(QWidget* owner) : owner_(owner) {}
    void ShowMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace tessaform
