// What a screen reader finds in the game's view: its name, and the texts on screen.
#pragma once

#include <QAccessibleWidget>
#include <vector>

#include "PixelSurface.h"

namespace tessaform {

// The view as an accessible canvas whose children are the surface's texts in reading order:
// the strip's boxes, the recap, the narrow warning. Qt's cache owns it and its children.
class ViewAccessible : public QAccessibleWidget {
public:
    ViewAccessible(QWidget* view, const PixelSurface& surface);
    ~ViewAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // Tells readers which texts came, went or changed since the last call.
    void Announce();

    const PixelSurface& Surface() const { return surface_; }

private:
    QAccessibleInterface* Place(std::size_t index) const;

    const PixelSurface& surface_;
    // One interface for each place in the reading order, made when first needed: a reader
    // asks again for what a place shows once it is told that it changed.
    mutable std::vector<QAccessible::Id> places_;
    std::vector<ScreenText> announced_;
};

}  // namespace tessaform
