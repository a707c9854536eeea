// The view's texts offered to screen readers through Qt's accessibility, and their changes.
#include "ViewAccessible.h"

namespace tessaform {

namespace {

// The text at one place of the view's reading order, whichever it is now.
class PlaceAccessible : public QAccessibleInterface {
public:
    PlaceAccessible(const ViewAccessible& view, std::size_t index) : view_(view), index_(index) {}

    bool isValid() const override { return view_.isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_.window(); }
    QAccessibleInterface* parent() const override { return const_cast<ViewAccessible*>(&view_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override {
        const ScreenText* shown = Shown();
        return kind == QAccessible::Name && shown ? QString::fromStdString(shown->text) : QString();
    }

    QRect rect() const override {
        const ScreenText* shown = Shown();
        if (!shown) {
            return {};
        }
        const Rect& a = shown->area;
        return {view_.rect().topLeft() + QPoint(a.left, a.top), QSize(a.Width(), a.Height())};
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = Shown() == nullptr;
        return state;
    }

private:
    const ScreenText* Shown() const {
        const auto& texts = view_.Surface().Texts();
        return index_ < texts.size() ? &texts[index_] : nullptr;
    }

    const ViewAccessible& view_;
    std::size_t index_;
};

void Tell(QAccessibleInterface* place, QAccessible::Event what) {
    QAccessibleEvent event(place, what);
    QAccessible::updateAccessibility(&event);
}

}  // namespace

ViewAccessible::ViewAccessible(QWidget* view, const PixelSurface& surface)
    : QAccessibleWidget(view, QAccessible::Canvas), surface_(surface) {}

ViewAccessible::~ViewAccessible() {
    for (QAccessible::Id id : places_) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

int ViewAccessible::childCount() const {
    return static_cast<int>(surface_.Texts().size());
}

QAccessibleInterface* ViewAccessible::child(int index) const {
    return index >= 0 && index < childCount() ? Place(index) : nullptr;
}

int ViewAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int i = 0; i < childCount(); ++i) {
        if (Place(i) == child) {
            return i;
        }
    }
    return -1;
}

QAccessibleInterface* ViewAccessible::childAt(int x, int y) const {
    const QPoint at = QPoint(x, y) - rect().topLeft();
    for (int i = 0; i < childCount(); ++i) {
        if (surface_.Texts()[i].area.ContainsWithEdges(at.x(), at.y())) {
            return Place(i);
        }
    }
    return nullptr;
}

QAccessibleInterface* ViewAccessible::Place(std::size_t index) const {
    while (places_.size() <= index) {
        places_.push_back(
            QAccessible::registerAccessibleInterface(new PlaceAccessible(*this, places_.size())));
    }
    return QAccessible::accessibleInterface(places_[index]);
}

void ViewAccessible::Announce() {
    const std::vector<ScreenText>& now = surface_.Texts();
    if (now == announced_) {
        return;
    }
    for (std::size_t i = 0; i < std::max(now.size(), announced_.size()); ++i) {
        if (i >= now.size()) {
            Tell(Place(i), QAccessible::ObjectDestroyed);
        } else if (i >= announced_.size()) {
            Tell(Place(i), QAccessible::ObjectCreated);
        } else if (now[i].text != announced_[i].text) {
            Tell(Place(i), QAccessible::NameChanged);
        }
    }
    announced_ = now;
}

}  // namespace tessaform
