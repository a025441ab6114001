// Dialog units: the dialogs' sizes are given in units of the dialog font
// (a quarter of its average character width across, an eighth of its
// height down), so that they grow with the font and the screen scale.
#pragma once

#include <QFontMetrics>
#include <QSize>
#include <QWidget>

namespace tessel::app {

inline QSize dialog_units(const QWidget* w, int x, int y) {
  const QFontMetrics fm(w->font());
  // The average width of the alphabet, as the classic base unit takes it.
  const int avg = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return QSize((x * avg + 26 * 4) / (52 * 4), (y * fm.height() + 4) / 8);
}

}  // namespace tessel::app
