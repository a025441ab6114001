// The Activity ribbon page's "Filter" and "Trace" panels: the controls
// only; the window's ShownControl connects them.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLayout>
#include <QToolButton>

namespace tessel::app {

struct filter_controls {
  QCheckBox* critical = nullptr;
  QCheckBox* near_critical = nullptr;
  QDoubleSpinBox* float_days = nullptr;  // the near-critical limit in days (10)
  QCheckBox* milestones = nullptr;
  QCheckBox* not_started = nullptr;
  QCheckBox* in_progress = nullptr;
  QCheckBox* completed = nullptr;
  QCheckBox* active = nullptr;
  QDateEdit* active_from = nullptr;
  QDateEdit* active_to = nullptr;
  QComboBox* code_type = nullptr;   // first entry "(any code)"
  QComboBox* code_value = nullptr;
  QToolButton* clear = nullptr;
};

struct trace_controls {
  QToolButton* predecessors = nullptr;
  QToolButton* successors = nullptr;
  QComboBox* depth = nullptr;  // "1", "2", "3", "5", "10", "All"
};

// The panels' contents, laid out in three rows to fit the ribbon's height.
QLayout* make_filter_controls(filter_controls& c);
QLayout* make_trace_controls(trace_controls& c);

// The depth a trace depth entry stands for (-1: All).
int trace_depth_of(const QString& entry);

}  // namespace tessel::app
