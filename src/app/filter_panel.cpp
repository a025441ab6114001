#include "app/filter_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tessel::app {
namespace {

QCheckBox* toggle(const QString& text, const QString& tip) {
  auto* b = new QCheckBox(text);
  b->setToolTip(tip);
  return b;
}

QDateEdit* day_edit(const QString& tip) {
  auto* d = new QDateEdit;
  d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  d->setCalendarPopup(true);
  d->setToolTip(tip);
  d->setFixedWidth(96);
  return d;
}

}  // namespace

QLayout* make_filter_controls(filter_controls& c) {
  c.critical = toggle(QStringLiteral("Critical"), QStringLiteral("Critical activities, by each project's own rule"));
  c.near_critical = toggle(QStringLiteral("Float \u2264"), QStringLiteral("Near critical: total float at most this many days"));
  c.float_days = new QDoubleSpinBox;
  c.float_days->setRange(-9999, 9999);
  c.float_days->setDecimals(1);
  c.float_days->setValue(10);
  c.float_days->setSuffix(QStringLiteral(" d"));
  c.float_days->setFixedWidth(64);
  c.milestones = toggle(QStringLiteral("Milestones"), QStringLiteral("Start and finish milestones"));
  c.not_started = toggle(QStringLiteral("Not Started"), QStringLiteral("Activities not started"));
  c.in_progress = toggle(QStringLiteral("In Progress"), QStringLiteral("Activities in progress"));
  c.completed = toggle(QStringLiteral("Completed"), QStringLiteral("Completed activities"));
  c.active = toggle(QStringLiteral("Active"), QStringLiteral("Activities whose forecast dates meet the days between"));
  c.active_from = day_edit(QStringLiteral("First day"));
  c.active_to = day_edit(QStringLiteral("Last day"));
  c.code_type = new QComboBox;
  c.code_type->setToolTip(QStringLiteral("Activity code type"));
  c.code_type->setFixedWidth(110);
  c.code_value = new QComboBox;
  c.code_value->setToolTip(QStringLiteral("Activity code value"));
  c.code_value->setFixedWidth(90);
  c.clear = new QToolButton;
  c.clear->setText(QStringLiteral("Clear"));
  c.clear->setToolTip(QStringLiteral("Show every activity again (filters and trace)"));
  c.clear->setAutoRaise(true);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(0);
  auto* near = new QHBoxLayout;
  near->setSpacing(2);
  near->addWidget(c.near_critical);
  near->addWidget(c.float_days);
  grid->addWidget(c.critical, 0, 0);
  grid->addLayout(near, 1, 0);
  grid->addWidget(c.milestones, 2, 0);
  grid->addWidget(c.not_started, 0, 1);
  grid->addWidget(c.in_progress, 1, 1);
  grid->addWidget(c.completed, 2, 1);
  auto* active = new QHBoxLayout;
  active->setSpacing(2);
  active->addWidget(c.active);
  active->addWidget(c.active_from);
  active->addWidget(new QLabel(QStringLiteral("to")));
  active->addWidget(c.active_to);
  grid->addLayout(active, 0, 2);
  auto* code = new QHBoxLayout;
  code->setSpacing(2);
  code->addWidget(new QLabel(QStringLiteral("Code")));
  code->addWidget(c.code_type);
  code->addWidget(c.code_value);
  code->addStretch(1);
  grid->addLayout(code, 1, 2);
  auto* clear = new QHBoxLayout;
  clear->addStretch(1);
  clear->addWidget(c.clear);
  grid->addLayout(clear, 2, 2);
  return grid;
}

QLayout* make_trace_controls(trace_controls& c) {
  auto button = [](const QString& text, const QString& tip) {
    auto* b = new QToolButton;
    b->setText(text);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return b;
  };
  c.predecessors = button(QStringLiteral("Trace Predecessors"),
                          QStringLiteral("Show only the selected activity and the activities leading to it"));
  c.successors = button(QStringLiteral("Trace Successors"),
                        QStringLiteral("Show only the selected activity and the activities it leads to"));
  c.depth = new QComboBox;
  c.depth->setToolTip(QStringLiteral("How many relationships deep to trace"));
  for (const char* d : {"1", "2", "3", "5", "10", "All"}) c.depth->addItem(QString::fromLatin1(d));
  c.depth->setCurrentIndex(5);
  auto* depth = new QHBoxLayout;
  depth->setSpacing(4);
  depth->addWidget(new QLabel(QStringLiteral("Depth")));
  depth->addWidget(c.depth);
  depth->addStretch(1);
  auto* v = new QVBoxLayout;
  v->setSpacing(0);
  v->addWidget(c.predecessors);
  v->addWidget(c.successors);
  v->addLayout(depth);
  return v;
}

int trace_depth_of(const QString& entry) {
  bool ok = false;
  const int n = entry.toInt(&ok);
  return ok && n >= 0 ? n : -1;
}

}  // namespace tessel::app
