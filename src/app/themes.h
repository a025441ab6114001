// The window's three colour themes. A theme is a style sheet for the ribbon
// and the window chrome plus the ink of the ribbon's pictures; the drawn
// panes stay white in every theme, as schedules are printed.
#pragma once

#include <QColor>
#include <QString>

namespace tessel::app {

enum class theme { colourful, dark_grey, white };

// "Colorful", "Dark Gray", "White" as the Style menu lists them.
QString theme_caption(theme t);
// The accent of the colourful theme.
inline const QColor accent_color(182, 31, 37);

QString theme_style_sheet(theme t);
QColor theme_icon_ink(theme t);

}  // namespace tessel::app
