// The ribbon: a row of tabs ("File" and the four categories) over a strip of
// captioned panels, with the "Style" menu and About at the top right. It only
// builds and lays out the controls; the window connects them to commands.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <vector>

#include "app/filter_panel.h"
#include "app/ribbon_panel.h"
#include "config/layout.h"

namespace tessel::app {

// The controls of one category's page; the null ones the category lacks
// (Resource has no Gantt, go-to or timescale controls).
struct category_controls {
  QComboBox* layout = nullptr;
  QToolButton* details = nullptr;
  QToolButton* gantt = nullptr;
  std::vector<QToolButton*> tables;  // main table first, then predecessors, successors
  QToolButton* expand_all = nullptr;
  QToolButton* collapse_all = nullptr;
  QToolButton* go_to = nullptr;
  QToolButton* calendar = nullptr;
  QComboBox* timescale = nullptr;
  QSlider* zoom = nullptr;
  // The Filter panel of the Activity and WBS pages, the Trace panel of the
  // Activity page (null elsewhere).
  filter_controls filter;
  trace_controls trace;
  RibbonPanel* filter_panel = nullptr;
  RibbonPanel* trace_panel = nullptr;
  QToolButton* check = nullptr;  // Activity only: the Schedule Check pane
};

struct file_controls {
  QToolButton* open = nullptr;
  QToolButton* recent = nullptr;
  QMenu* recent_menu = nullptr;
  QToolButton* encoding = nullptr;
  QMenu* encoding_menu = nullptr;  // "Text Encoding": filled by the window
  QToolButton* compare = nullptr;        // "Compare With..."
  QToolButton* close_compare = nullptr;  // "Close Comparison"
  QToolButton* print = nullptr;
  QToolButton* preview = nullptr;
  QToolButton* export_pdf = nullptr;
  QToolButton* options = nullptr;
  QToolButton* exit = nullptr;
  QLabel* version = nullptr;
  QLabel* report_line = nullptr;      // what the open file was found to be
  QToolButton* report_link = nullptr;  // "Load Report": the whole report
  QToolButton* help_link = nullptr;
  QToolButton* web_link = nullptr;
};

class Ribbon : public QWidget {
  Q_OBJECT

 public:
  explicit Ribbon(QWidget* parent = nullptr);

  // Tab 0 is "File", tabs 1 to 4 the categories Activity, WBS, Project,
  // Resource.
  QTabBar* tabs() const { return tabs_; }
  static int tab_of(view::view_kind category) { return static_cast<int>(category) + 1; }

  category_controls& controls(view::view_kind category) { return categories_[static_cast<std::size_t>(category)]; }
  file_controls& file() { return file_; }
  QMenu* style_menu() const { return style_menu_; }
  QToolButton* about_button() const { return about_; }
  // A tab after the four categories with its own page (the "Changes" tab
  // of a comparison); answers the tab's index. Removing it shows the
  // Activity tab when it was current.
  int add_extra_tab(const QString& name, QWidget* page);
  void remove_extra_tab(int index);
  // A page's panel of big buttons, as the ribbon's own pages have them.
  static QWidget* button_page(const QString& caption, std::initializer_list<QToolButton*> buttons);
  static QToolButton* make_big_button(const QString& text, int glyph_code, const QString& tip);

  // Draws the command pictures in `ink` (themes change it).
  void set_icon_ink(const QColor& ink);

 signals:
  // A category tab was chosen.
  void category_selected(tessel::view::view_kind category);
  // "Options…" from the ribbon's context menu.
  void options_requested();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QWidget* make_file_page();
  QWidget* make_category_page(view::view_kind category);

  QTabBar* tabs_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  std::array<category_controls, 4> categories_;
  file_controls file_;
  QMenu* style_menu_ = nullptr;
  QToolButton* style_ = nullptr;
  QToolButton* about_ = nullptr;
};

}  // namespace tessel::app
