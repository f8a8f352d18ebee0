#pragma once
// Pictures the program draws itself: the toolbar glyphs, the tick and cross
// marks of the root drill and the program icon.
#include <QPixmap>

namespace quorvel::glyphs {

enum class Toolbar { Settings, Help, About, Exit, Progress, Path };

QPixmap toolbar(Toolbar which, int size = 28);
QPixmap tick();   // 16 x 16, mark image 5
QPixmap cross();  // 16 x 16, mark image 4
QPixmap programIcon(int size = 64);
QPixmap find();  // 16 x 16 magnifier of the find buttons

}  // namespace quorvel::glyphs
