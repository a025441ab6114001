// The ribbon's command pictures: small line drawings made at run time, so
// the program ships no bitmaps and the pictures follow the theme's colour.
#pragma once

#include <QColor>
#include <QIcon>

namespace tessel::app {

enum class glyph {
  open, recent, encoding, print, preview, pdf, options, exit, details, gantt, table, predecessors, successors,
  expand, collapse, go_to, calendar, help, web, check, filter, trace,
};

QIcon glyph_icon(glyph g, const QColor& ink, int size);

}  // namespace tessel::app
