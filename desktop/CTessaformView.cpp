// The game's window: Qt's presses, timers and exposures handed to the game, its picture shown.
#include "CTessaformView.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>
#include <ctime>

#include "Log.h"
#include "QtFonts.h"
#include "WaylandFrames.h"

namespace tessaform {

namespace {

// The player closes its stream through a one-shot timer on the view: nothing runs
// while the game is silent, and nothing is left to run once the view is gone.
std::unique_ptr<SoundPlayer> MakeSoundPlayer(MessageBoxPort& messages, QObject* view) {
    return std::make_unique<SoundPlayer>(
        messages, [](const std::string& line) { qCInfo(lcSound).noquote() << line.c_str(); },
        [view](int ms, std::function<void()> call) {
            QTimer::singleShot(ms, view, std::move(call));
        });
}

// TESSAFORM_SEED may name the seed, so that the tests can deal the same board to the desktop
// and the browser; otherwise the calendar time is the seed.
std::uint32_t DealSeed() {
    bool named = false;
    const int seed = qEnvironmentVariableIntValue("TESSAFORM_SEED", &named);
    return static_cast<std::uint32_t>(named ? seed : std::time(nullptr));
}

}  // namespace

CTessaformView::CTessaformView(QWidget* parent,
                               std::function<void(const std::string&)> setDocumentTitle,
                               SoundPort* sound)
    : QWidget(parent),
      surface_(1, 1, DesktopFonts()),
      timers_(this, kClockTimer),
      messages_(parent != nullptr ? parent : this),
      ownSound_(sound != nullptr ? nullptr : MakeSoundPlayer(messages_, this)),
      random_(DealSeed()),
      accessible_(new ViewAccessible(this, surface_)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Taken by Qt's cache before a reader asks, in place of the plain widget's.
    QAccessible::registerAccessibleInterface(accessible_);
    setAccessibleName(kBoardName);
    setAccessibleDescription(kBoardDescription);
    surface_.SetShowCallback([this] {
        const Rect dirty = surface_.TakeDirty();
        repaint(dirty.left, dirty.top, dirty.Width(), dirty.Height());
        SendQueuedFrames();
    });
    SoundPort& soundPort = sound != nullptr ? *sound : *ownSound_;
    game_ = std::make_unique<GameView>(ViewPorts{
        surface_, timers_, clock_, soundPort, messages_, random_, std::move(setDocumentTitle),
        [](const std::string& line) { qCInfo(lcGame).noquote() << line.c_str(); }});
}

CTessaformView::~CTessaformView() = default;

void CTessaformView::RequestRepaint() {
    if (repaintQueued_) {
        return;
    }
    repaintQueued_ = true;
    QMetaObject::invokeMethod(this, &CTessaformView::RunRepaint, Qt::QueuedConnection);
}

void CTessaformView::RunRepaint() {
    repaintQueued_ = false;
    Handle([this] { game_->OnDraw(*surface_.OpenClientDC()); });
}

void CTessaformView::Handle(const std::function<void()>& handler, int timerId) {
    timers_.AimClock(timerId);
    handler();
    // Only what the game drew goes to the screen.
    const Rect dirty = surface_.TakeDirty();
    update(dirty.left, dirty.top, dirty.Width(), dirty.Height());
    accessible_->Announce();
}

void CTessaformView::paintEvent(QPaintEvent* event) {
    // The game's own pixels, scaled without smoothing on a high-density screen.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect area = event->rect();
    const QImage image(reinterpret_cast<const uchar*>(surface_.Pixels()), surface_.Width(),
                       surface_.Height(), QImage::Format_RGB32);
    painter.drawImage(area, image, area);
}

void CTessaformView::resizeEvent(QResizeEvent*) {
    surface_.Resize(width(), height());
    if (exposedOnce_) {
        RequestRepaint();
    }
}

void CTessaformView::showEvent(QShowEvent*) {
    if (QWindow* window = this->window()->windowHandle()) {
        window->removeEventFilter(this);
        window->installEventFilter(this);
    }
}

bool CTessaformView::eventFilter(QObject* watched, QEvent* event) {
    // The first repaint waits until the window is really on screen, at its final size.
    if (event->type() == QEvent::Expose) {
        if (auto* window = qobject_cast<QWindow*>(watched); window && window->isExposed()) {
            exposedOnce_ = true;
            RequestRepaint();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CTessaformView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPointF at = event->position();
    Handle([&] { game_->OnLButtonDown(static_cast<int>(at.x()), static_cast<int>(at.y())); });
}

// The second press of a double click does nothing.
void CTessaformView::mouseDoubleClickEvent(QMouseEvent*) {}

void CTessaformView::timerEvent(QTimerEvent* event) {
    if (const int id = timers_.Expired(event->timerId()); id != 0) {
        Handle([&] { game_->OnTimer(id); }, id);
    }
}

}  // namespace tessaform
