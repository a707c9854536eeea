// The program's icon in its two built-in sizes, for the window and the about box.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "Resources.h"

namespace tessaform {

// The icon built into the program: the large one for the window and the about
// box, the small one where the desktop wants less.

// A null pixmap when there is no such icon.
QPixmap IconPixmap(int id);
QIcon AppIcon();

}  // namespace tessaform
