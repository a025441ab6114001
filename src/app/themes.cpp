#include "app/themes.h"

namespace tessel::app {
namespace {

struct palette {
  QString top;         // tab row
  QString tab_text;
  QString tab_selected_bg;
  QString tab_selected_text;
  QString file_tab_bg;
  QString file_tab_text;
  QString body;        // panels
  QString text;
  QString caption;
  QString separator;
  QString hover;
  QString pressed;
  QString chrome;      // status bar, splitter handles
  QString chrome_text;
};

palette palette_of(theme t) {
  switch (t) {
    case theme::colourful:
      return {"#b61f25", "#ffffff", "#f3f3f3", "#b61f25", "#8e161b", "#ffffff", "#f3f3f3", "#262626",
              "#6b6b6b", "#d4d4d4", "#e3e3e3", "#cfcfcf", "#f3f3f3", "#262626"};
    case theme::dark_grey:
      return {"#2b2b2b", "#e6e6e6", "#444444", "#ffffff", "#b61f25", "#ffffff", "#444444", "#f0f0f0",
              "#b5b5b5", "#5c5c5c", "#565656", "#666666", "#333333", "#e6e6e6"};
    case theme::white:
      break;
  }
  return {"#ffffff", "#444444", "#ffffff", "#b61f25", "#b61f25", "#ffffff", "#ffffff", "#262626",
          "#6b6b6b", "#e1e1e1", "#f0f0f0", "#e0e0e0", "#ffffff", "#262626"};
}

}  // namespace

QString theme_caption(theme t) {
  switch (t) {
    case theme::colourful: return QStringLiteral("Colorful");
    case theme::dark_grey: return QStringLiteral("Dark Gray");
    case theme::white: return QStringLiteral("White");
  }
  return {};
}

QColor theme_icon_ink(theme t) {
  return t == theme::dark_grey ? QColor(230, 230, 230) : QColor(68, 68, 68);
}

QString theme_style_sheet(theme t) {
  const palette p = palette_of(t);
  QString css = QStringLiteral(R"(
#ribbonTop { background: %1; }
#ribbonTabs { background: transparent; font-size: 9pt; }
#ribbonTabs::tab { color: %2; background: transparent; padding: 5px 14px; margin: 0; border: none; }
#ribbonTabs::tab:selected { background: %3; color: %4; }
#ribbonTabs::tab:first { background: %5; color: %6; padding: 5px 18px; }
#ribbonTabs::tab:!selected:hover { background: rgba(255,255,255,40); }
#ribbonCorner { color: %2; background: transparent; padding: 3px 8px; border: none; }
#ribbonCorner:hover { background: rgba(255,255,255,40); }
#ribbonPages, #ribbonPage, #ribbon { background: %7; }
#ribbonPages { border-bottom: 1px solid %10; }
#ribbonPanel { background: transparent; }
#ribbonDropDown { background: %7; border: 1px solid %10; }
#ribbonPanel QLabel, #ribbonPanel QToolButton { color: %8; }
#panelCaption { color: %9; font-size: 8pt; }
#versionLine { padding: 2px 4px; }
#panelSeparator { background: %10; border: none; margin: 6px 2px; }
#ribbonPanel QToolButton { border: 1px solid transparent; border-radius: 2px; padding: 1px 3px; }
#ribbonPanel QToolButton:hover { background: %11; border-color: %10; }
#ribbonPanel QToolButton:pressed, #ribbonPanel QToolButton:checked, #ribbonPanel QToolButton[marked="true"] {
  background: %12; border-color: %10; }
#ribbonPanel QToolButton:disabled { color: %9; }
QMainWindow, QStatusBar { background: %13; color: %14; }
QStatusBar QLabel { color: %14; padding: 0 6px; }
QSplitter::handle { background: %10; }
)");
  css = css.arg(p.top, p.tab_text, p.tab_selected_bg, p.tab_selected_text, p.file_tab_bg, p.file_tab_text, p.body,
                p.text, p.caption);
  css = css.arg(p.separator, p.hover, p.pressed, p.chrome, p.chrome_text);
  return css;
}

}  // namespace tessel::app
