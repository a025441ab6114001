#include "view_restrict.h"

#include <charconv>
#include <iostream>

#include "analysis/logic_trace.h"
#include "analysis/where_expr.h"
#include "document/io/path_text.h"

namespace tessel::dump {
namespace {

std::optional<int> read_depth(const std::string& text) {
  if (text == "all" || text == "All") return analysis::trace_all;
  int n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || n < 0) return std::nullopt;
  return n;
}

}  // namespace

bool take_restriction(const std::vector<std::string>& args, std::size_t& i, view_restriction& r, bool& missing) {
  const std::string& a = args[i];
  if (a != "--where" && a != "--trace" && a != "--direction" && a != "--depth" && a != "--find") return false;
  if (i + 1 >= args.size()) {
    missing = true;
    return true;
  }
  const std::string& value = args[++i];
  if (a == "--where") r.wheres.push_back(value);
  else if (a == "--trace") r.trace_id = value;
  else if (a == "--direction") r.direction = value;
  else if (a == "--depth") r.depth = value;
  else r.find = value;
  return true;
}

bool check_restriction(const view_restriction& r) {
  for (const std::string& w : r.wheres) {
    analysis::quick_filter f;
    std::string error;
    if (!analysis::read_where(w, f, error)) {
      std::cerr << error << "\n";
      return false;
    }
  }
  if (r.trace_id) {
    if (r.direction != "pred" && r.direction != "succ") {
      std::cerr << "--trace needs --direction pred|succ\n";
      return false;
    }
    if (r.depth && !read_depth(*r.depth)) {
      std::cerr << "cannot read --depth " << *r.depth << " (a whole number from 0, or all)\n";
      return false;
    }
  } else if (!r.direction.empty() || r.depth) {
    std::cerr << "--direction and --depth go with --trace ID\n";
    return false;
  }
  if (r.find && r.find->empty()) {
    std::cerr << "--find needs a text\n";
    return false;
  }
  return true;
}

std::shared_ptr<analysis::shown_activities> shown_for(const document::Document& doc, const view_restriction& r,
                                                      bool& refused) {
  refused = false;
  if (!r.restricts()) return nullptr;
  std::optional<analysis::shown_activities> shown;
  // Each --where on its own, then AND: a form given twice must hold twice.
  for (const std::string& w : r.wheres) {
    analysis::quick_filter f;
    std::string error;
    analysis::read_where(w, f, error);
    analysis::shown_activities s = analysis::filter_activities(doc, f);
    shown = shown ? analysis::intersect(*shown, s) : std::move(s);
  }
  if (r.trace_id) {
    const document::TASK* from = analysis::activity_with_id(doc, document::wide_text(*r.trace_id));
    if (!from) {
      std::cerr << "no activity with ID " << *r.trace_id << " in the file\n";
      refused = true;
      return nullptr;
    }
    const int depth = r.depth ? *read_depth(*r.depth) : analysis::trace_all;
    analysis::shown_activities t = analysis::trace_logic(
        analysis::activity_positions(doc), *from,
        r.direction == "pred" ? analysis::trace_direction::predecessors : analysis::trace_direction::successors, depth);
    shown = shown ? analysis::intersect(*shown, t) : std::move(t);
  }
  return std::make_shared<analysis::shown_activities>(std::move(*shown));
}

}  // namespace tessel::dump
