// The program's command line:
//   tessel-reader [FILE]
//   tessel-reader --render OUT.png [--category C] [--layout NAME] [--size WxH]
//                 [--select N] [--details TAB] [--scale S] [--style S] [--dialog NAME [ARG ...]]
//                 [--where EXPR]... [--trace ID --direction pred|succ [--depth N]] [--find TEXT] FILE
//   tessel-reader --compare OLD NEW   (also with --render, --category changes)
//   tessel-reader --print-pdf OUT.pdf [--category C] [--layout NAME] [--size WxH] FILE
//   tessel-reader --help
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include "config/layout.h"

namespace tessel::app {

enum class run_mode { window, render, print_pdf, help, error };

struct command_line {
  run_mode mode = run_mode::window;
  QString file;
  QString out;
  view::view_kind category = view::view_kind::activity;
  bool changes_category = false;  // --category changes: the comparison's page
  QString compare_old;            // --compare OLD NEW: OLD (NEW is `file`)
  QString layout;
  QSize size{1600, 1000};
  int select = -1;
  QString details_tab;
  QString dialog;
  QStringList dialog_args;
  float scale = 0.0f;
  int theme = -1;  // --style: 0 colourful, 1 dark grey, 2 white; -1 the default
  // The Activity view restricted and searched as tessel-dump's options do.
  QStringList wheres;
  QString trace_id;
  QString direction;  // "pred" or "succ"
  int depth = -1;     // -1: all
  QString find;
  QString error;  // what was wrong, for run_mode::error
};

// `args` without the program name.
command_line parse_command_line(const QStringList& args);
// The text --help prints.
QString usage_text();

}  // namespace tessel::app
