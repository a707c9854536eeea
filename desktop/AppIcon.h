// The program's icon in its two built-in sizes, for the window and the about box.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tessaform {

// The icon built into the program: the large one for the window and the about
// box, the small one where the desktop wants less.
inline constexpr int kLargeIconId = 128;
inline constexpr int kSmallIconId = 129;

// A null pixmap when there is no such icon.
QPixmap IconPixmap(int id);
QIcon AppIcon();

}  // namespace tessaform
