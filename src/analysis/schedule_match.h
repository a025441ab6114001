// Two exports of one schedule matched as people know them. Every internal
// id differs between two exports (projects, activities, WBS elements and
// calendars are renumbered, project short names change), so matching uses
// what people keep: project names, shared Activity IDs, calendar names and
// WBS code paths. Comparing two updates and judging one against a baseline
// file both start here.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/record_positions.h"
#include "document/document.h"

namespace tessel::analysis {

struct project_pair {
  const document::PROJECT* old_project = nullptr;
  const document::PROJECT* new_project = nullptr;
};

struct schedule_match {
  // Paired projects, in the NEW file's order of projects.
  std::vector<project_pair> pairs;
  // Projects without a partner: the NEW file's (added) and the OLD file's
  // (deleted), each in its file's order.
  std::vector<const document::PROJECT*> added;
  std::vector<const document::PROJECT*> deleted;

  // The OLD file's activity with the same Activity ID in the project paired
  // with `new_task`'s project (the first with that ID in file order); null
  // when there is none or the project has no partner.
  const document::TASK* old_of(const document::TASK& new_task) const;
  // The same the other way round.
  const document::TASK* new_of(const document::TASK& old_task) const;

  // Lookup tables built by match_schedules: the partner of each activity by
  // its position in its file's activity list (null when none).
  std::vector<const document::TASK*> old_partner;  // indexed by NEW activity position
  std::vector<const document::TASK*> new_partner;  // indexed by OLD activity position
  const document::Document* old_doc = nullptr;
  const document::Document* new_doc = nullptr;

  // Whether the activity at each position takes part in the comparison: its
  // project has a partner and it is the first with its Activity ID in that
  // project. A kept activity without a partner was added (NEW) or deleted
  // (OLD); one not kept is left out altogether.
  std::vector<uint8_t> new_kept;  // indexed by NEW activity position
  std::vector<uint8_t> old_kept;  // indexed by OLD activity position

  // The partner of each project by its position in its file's project list
  // (null when none).
  std::vector<const document::PROJECT*> old_project_partner;  // indexed by NEW project position
  std::vector<const document::PROJECT*> new_project_partner;  // indexed by OLD project position
  const document::PROJECT* old_project_of(const document::PROJECT& new_project) const;
  const document::PROJECT* new_project_of(const document::PROJECT& old_project) const;

  // Positions of records in their lists, from their addresses.
  record_positions<document::TASK> old_task_positions, new_task_positions;
  record_positions<document::PROJECT> old_project_positions, new_project_positions;
};

// Pairs projects first by identical short name, then the rest by the number
// of Activity IDs they share (most first; ties in the NEW file's order, then
// the OLD file's; at least one shared ID), then activities by Activity ID
// within paired projects (a later duplicate ID in a project is ignored).
// Linear in the two files.
schedule_match match_schedules(const document::Document& old_doc, const document::Document& new_doc);

}  // namespace tessel::analysis
