// The options that restrict what --view prints to shown rows: quick
// filters (--where), a logic trace (--trace, --direction, --depth) and find
// (--find). Shared by --view and --find.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/shown_activities.h"
#include "document/document.h"

namespace tessel::dump {

struct view_restriction {
  std::vector<std::string> wheres;
  std::optional<std::string> trace_id;
  std::string direction;
  std::optional<std::string> depth;
  std::optional<std::string> find;

  bool restricts() const { return !wheres.empty() || trace_id.has_value(); }
};

// Takes one restricting option at args[i] (moving i past its value);
// answers false when args[i] is none of them. An option without its value
// is taken and leaves `missing` set.
bool take_restriction(const std::vector<std::string>& args, std::size_t& i, view_restriction& r, bool& missing);

// Reads the options that need only their own text (forms, direction, depth)
// before the file is opened; prints the refusal on stderr and answers
// false when one cannot be read.
bool check_restriction(const view_restriction& r);

// The activities the restriction shows in `doc`, or null when it shows
// every one. Prints the refusal on stderr and sets `refused` when the
// trace names an activity the file does not hold.
std::shared_ptr<analysis::shown_activities> shown_for(const document::Document& doc, const view_restriction& r,
                                                      bool& refused);

}  // namespace tessel::dump
