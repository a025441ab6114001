#include "app/ribbon.h"

#include <algorithm>

#include <QContextMenuEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/frame_rules.h"
#include "app/ribbon_icons.h"
#include "app/ribbon_panel.h"

namespace tessel::app {
namespace {

constexpr int big_icon = 28;
constexpr int small_icon = 16;

// A big button is never narrower than its label (a squeezed ribbon elides
// "Calendar" to "Ca…ar", which no one can read), nor than 58 pixels, so
// that short labels keep a common width.
class big_tool_button : public QToolButton {
 public:
  QSize sizeHint() const override {
    QSize s = QToolButton::sizeHint();
    s.setWidth(std::max(s.width(), 58));
    return s;
  }
  QSize minimumSizeHint() const override { return sizeHint(); }
};

QToolButton* big_button(const QString& text, glyph g, const QString& tip) {
  auto* b = new big_tool_button;
  b->setText(text);
  b->setToolTip(tip);
  b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  b->setIconSize(QSize(big_icon, big_icon));
  b->setProperty("glyph", static_cast<int>(g));
  b->setProperty("glyphSize", big_icon);
  b->setAutoRaise(true);
  b->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Expanding);
  return b;
}

QToolButton* small_button(const QString& text, glyph g, const QString& tip) {
  auto* b = new QToolButton;
  b->setText(text);
  b->setToolTip(tip);
  b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  b->setIconSize(QSize(small_icon, small_icon));
  b->setProperty("glyph", static_cast<int>(g));
  b->setProperty("glyphSize", small_icon);
  b->setAutoRaise(true);
  b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  return b;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets) {
  auto* h = new QHBoxLayout;
  h->setSpacing(2);
  for (QWidget* w : widgets) h->addWidget(w);
  return h;
}

QVBoxLayout* column(std::initializer_list<QWidget*> widgets) {
  auto* v = new QVBoxLayout;
  v->setSpacing(1);
  for (QWidget* w : widgets) v->addWidget(w);
  v->addStretch(1);
  return v;
}

// A panel: its controls over a caption, as ribbons group their commands.
// Folded, a big button with `g` and the caption over a drop-down arrow
// stands for it.
RibbonPanel* panel(const QString& caption, QLayout* content, glyph g) {
  return new RibbonPanel(caption, content, big_button(caption + QStringLiteral("\n\u25BE"), g, caption));
}

const char* category_name(view::view_kind c) {
  switch (c) {
    case view::view_kind::activity: return "Activity";
    case view::view_kind::wbs: return "WBS";
    case view::view_kind::project: return "Project";
    case view::view_kind::resource: return "Resource";
  }
  return "";
}

}  // namespace

Ribbon::Ribbon(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ribbon"));
  setAttribute(Qt::WA_StyledBackground);
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(0);

  auto* top = new QWidget;
  top->setObjectName(QStringLiteral("ribbonTop"));
  top->setAttribute(Qt::WA_StyledBackground);
  auto* th = new QHBoxLayout(top);
  th->setContentsMargins(0, 0, 6, 0);
  th->setSpacing(2);
  tabs_ = new QTabBar;
  tabs_->setObjectName(QStringLiteral("ribbonTabs"));
  tabs_->setDrawBase(false);
  tabs_->setExpanding(false);
  tabs_->addTab(QStringLiteral("File"));
  tabs_->setTabToolTip(0, QStringLiteral("Open, print and export schedules; options"));
  for (view::view_kind c : {view::view_kind::activity, view::view_kind::wbs, view::view_kind::project,
                            view::view_kind::resource}) {
    const int t = tabs_->addTab(QString::fromLatin1(category_name(c)));
    tabs_->setTabToolTip(t, QStringLiteral("The %1 view").arg(QString::fromLatin1(category_name(c))));
  }
  th->addWidget(tabs_);
  th->addStretch(1);
  style_ = new QToolButton;
  style_->setObjectName(QStringLiteral("ribbonCorner"));
  style_->setText(QStringLiteral("Style"));
  style_->setToolTip(QStringLiteral("Choose the colour theme"));
  style_->setPopupMode(QToolButton::InstantPopup);
  style_->setAutoRaise(true);
  style_menu_ = new QMenu(style_);
  style_->setMenu(style_menu_);
  about_ = new QToolButton;
  about_->setObjectName(QStringLiteral("ribbonCorner"));
  about_->setText(QStringLiteral("About"));
  about_->setToolTip(QStringLiteral("Program version and website"));
  about_->setAutoRaise(true);
  th->addWidget(style_);
  th->addWidget(about_);
  v->addWidget(top);

  pages_ = new QStackedWidget;
  pages_->setObjectName(QStringLiteral("ribbonPages"));
  pages_->addWidget(make_file_page());
  for (view::view_kind c : {view::view_kind::activity, view::view_kind::wbs, view::view_kind::project,
                            view::view_kind::resource})
    pages_->addWidget(make_category_page(c));
  pages_->setFixedHeight(96);
  v->addWidget(pages_);

  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    pages_->setCurrentIndex(index);
    if (index >= 1 && index <= 4) emit category_selected(static_cast<view::view_kind>(index - 1));
  });
  tabs_->setCurrentIndex(tab_of(view::view_kind::activity));
  set_icon_ink(QColor(68, 68, 68));
}

int Ribbon::add_extra_tab(const QString& name, QWidget* page) {
  pages_->addWidget(page);
  return tabs_->addTab(name);
}

void Ribbon::remove_extra_tab(int index) {
  if (index < 5 || index >= tabs_->count()) return;
  if (tabs_->currentIndex() == index) tabs_->setCurrentIndex(tab_of(view::view_kind::activity));
  QWidget* page = pages_->widget(index);
  tabs_->removeTab(index);
  pages_->removeWidget(page);
  page->deleteLater();
}

QWidget* Ribbon::button_page(const QString& caption, std::initializer_list<QToolButton*> buttons) {
  auto* r = new QHBoxLayout;
  r->setSpacing(2);
  for (QToolButton* b : buttons) r->addWidget(b);
  return new RibbonPage({panel(caption, r, glyph::table)});
}

QToolButton* Ribbon::make_big_button(const QString& text, int glyph_code, const QString& tip) {
  return big_button(text, static_cast<glyph>(glyph_code), tip);
}

void Ribbon::set_icon_ink(const QColor& ink) {
  for (QToolButton* b : findChildren<QToolButton*>()) {
    const QVariant g = b->property("glyph");
    if (g.isValid()) b->setIcon(glyph_icon(static_cast<glyph>(g.toInt()), ink, b->property("glyphSize").toInt()));
  }
}

QWidget* Ribbon::make_file_page() {
  file_controls& f = file_;
  f.open = big_button(QStringLiteral("Open..."), glyph::open, QStringLiteral("Open a schedule file (Ctrl+O)"));
  f.recent = big_button(QStringLiteral("Recent"), glyph::recent, QStringLiteral("Open one of the last ten files"));
  f.recent_menu = new QMenu(f.recent);
  f.recent->setMenu(f.recent_menu);
  f.recent->setPopupMode(QToolButton::InstantPopup);
  f.encoding = big_button(QStringLiteral("Text Encoding"), glyph::encoding,
                          QStringLiteral("Read the open file again in another text encoding"));
  f.encoding_menu = new QMenu(f.encoding);
  f.encoding->setMenu(f.encoding_menu);
  f.encoding->setPopupMode(QToolButton::InstantPopup);
  f.compare = big_button(QStringLiteral("Compare With..."), glyph::open,
                         QStringLiteral("Compare the open schedule with another update of it"));
  f.close_compare = big_button(QStringLiteral("Close Comparison"), glyph::exit, QStringLiteral("End the comparison"));
  f.print = big_button(QStringLiteral("Print..."), glyph::print, QStringLiteral("Print the current view (Ctrl+P)"));
  f.preview = big_button(QStringLiteral("Print Preview"), glyph::preview, QStringLiteral("See the pages before printing"));
  f.export_pdf = big_button(QStringLiteral("Export PDF..."), glyph::pdf, QStringLiteral("Save the printed pages as a PDF file"));
  f.options = big_button(QStringLiteral("Options..."), glyph::options, QStringLiteral("Time units, gridlines and layouts"));
  f.exit = big_button(QStringLiteral("Exit"), glyph::exit, QStringLiteral("Close the program (Ctrl+Q)"));
  f.version = new QLabel;
  f.version->setObjectName(QStringLiteral("versionLine"));
  f.report_line = new QLabel;
  f.report_line->setObjectName(QStringLiteral("reportLine"));
  f.report_link = small_button(QStringLiteral("Load Report"), glyph::details,
                               QStringLiteral("What the open found in the file: tables, rows, warnings"));
  f.report_link->setEnabled(false);
  f.help_link = small_button(QStringLiteral("Help"), glyph::help, QStringLiteral("Corvane Tessel Reader Help"));
  f.web_link = small_button(QStringLiteral("Website"), glyph::web, QStringLiteral("Corvane Tessel Reader Website"));
  auto* info = new QVBoxLayout;
  info->setSpacing(1);
  info->addWidget(f.version);
  info->addWidget(f.report_line);
  info->addLayout(row({f.report_link, f.help_link, f.web_link}));
  info->addStretch(1);
  return new RibbonPage({panel(QStringLiteral("Schedule"), row({f.open, f.recent, f.encoding}), glyph::open),
                         panel(QStringLiteral("Compare"), row({f.compare, f.close_compare}), glyph::open),
                         panel(QStringLiteral("Print"), row({f.print, f.preview, f.export_pdf}), glyph::print),
                         panel(QStringLiteral("Options"), row({f.options}), glyph::options),
                         panel(QStringLiteral("Info"), info, glyph::help),
                         panel(QStringLiteral("Close"), row({f.exit}), glyph::exit)});
}

QWidget* Ribbon::make_category_page(view::view_kind category) {
  category_controls& c = controls(category);
  const QString name = QString::fromLatin1(category_name(category));
  const bool has_gantt = category != view::view_kind::resource;

  c.layout = new QComboBox;
  c.layout->setFixedWidth(150);
  c.layout->setToolTip(QStringLiteral("Choose the layout of the %1 view").arg(name));
  auto* layout_box = new QVBoxLayout;
  layout_box->addStretch(1);
  layout_box->addWidget(c.layout);
  layout_box->addStretch(1);

  c.details = big_button(QStringLiteral("Details"), glyph::details, QStringLiteral("Show or hide the Details pane"));
  c.details->setCheckable(true);
  QHBoxLayout* panes = row({c.details});
  if (has_gantt) {
    c.gantt = big_button(QStringLiteral("Gantt"), glyph::gantt, QStringLiteral("Show or hide the Gantt chart"));
    c.gantt->setCheckable(true);
    panes->addWidget(c.gantt);
  }

  auto* tables = new QHBoxLayout;
  tables->setSpacing(2);
  // Two lines under the icon, as a ribbon writes a long label.
  c.tables.push_back(big_button(QStringLiteral("%1\nTable").arg(name), glyph::table,
                                QStringLiteral("Choose and order the columns of the %1 table").arg(name)));
  tables->addWidget(c.tables.back());
  if (category == view::view_kind::activity) {
    auto* pred = small_button(QStringLiteral("Predecessors Table"), glyph::predecessors,
                              QStringLiteral("Choose the columns of the Predecessors table"));
    auto* succ = small_button(QStringLiteral("Successors Table"), glyph::successors,
                              QStringLiteral("Choose the columns of the Successors table"));
    c.tables.push_back(pred);
    c.tables.push_back(succ);
    tables->addLayout(column({pred, succ}));
  }

  c.expand_all = small_button(QStringLiteral("Expand All"), glyph::expand, QStringLiteral("Open every group"));
  c.collapse_all = small_button(QStringLiteral("Collapse All"), glyph::collapse, QStringLiteral("Close every group"));
  QVBoxLayout* view_box = nullptr;
  if (has_gantt) {
    c.go_to = small_button(QStringLiteral("Go to %1").arg(name), glyph::go_to,
                           QStringLiteral("Scroll the Gantt chart to the selected row's start"));
    view_box = column({c.expand_all, c.collapse_all, c.go_to});
  } else {
    view_box = column({c.expand_all, c.collapse_all});
  }

  c.calendar = big_button(QStringLiteral("Calendar"), glyph::calendar, QStringLiteral("Show the schedule's calendars"));

  std::vector<RibbonPanel*> panels = {panel(QStringLiteral("Layout"), layout_box, glyph::table),
                                      panel(QStringLiteral("Panes"), panes, glyph::details),
                                      panel(QStringLiteral("Table"), tables, glyph::table),
                                      panel(QStringLiteral("View"), view_box, glyph::expand),
                                      panel(QStringLiteral("Calendar"), row({c.calendar}), glyph::calendar)};
  if (has_gantt) {
    c.timescale = new QComboBox;
    c.timescale->setFixedWidth(104);
    c.timescale->setToolTip(QStringLiteral("The Gantt chart's timescale"));
    for (const char* e : timescale_entries) c.timescale->addItem(QString::fromLatin1(e));
    c.zoom = new QSlider(Qt::Horizontal);
    c.zoom->setFixedWidth(80);
    c.zoom->setRange(zoom_slider_min, zoom_slider_max);
    c.zoom->setToolTip(QStringLiteral("Zoom the Gantt chart"));
    auto* ts = new QVBoxLayout;
    ts->setSpacing(6);
    ts->addStretch(1);
    ts->addWidget(c.timescale);
    ts->addWidget(c.zoom, 0, Qt::AlignHCenter);
    ts->addStretch(1);
    panels.push_back(panel(QStringLiteral("Timescale"), ts, glyph::gantt));
  }
  // The WBS table shows the elements that hold a shown activity, so the
  // same filter has a panel there too.
  if (category == view::view_kind::activity || category == view::view_kind::wbs)
    panels.push_back(c.filter_panel = panel(QStringLiteral("Filter"), make_filter_controls(c.filter), glyph::filter));
  if (category == view::view_kind::activity) {
    panels.push_back(c.trace_panel = panel(QStringLiteral("Trace"), make_trace_controls(c.trace), glyph::trace));
    c.check = big_button(QStringLiteral("Check"), glyph::check,
                         QStringLiteral("Check the schedule's logic, floats, constraints and dates"));
    panels.push_back(panel(QStringLiteral("Check"), row({c.check}), glyph::check));
  }
  return new RibbonPage(panels);
}

void Ribbon::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* options = menu.addAction(QStringLiteral("Options..."));
  if (menu.exec(event->globalPos()) == options) emit options_requested();
}

}  // namespace tessel::app
