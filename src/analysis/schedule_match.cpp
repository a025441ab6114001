#include "analysis/schedule_match.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "analysis/code_index.h"

namespace tessel::analysis {

using document::Document;
using document::PROJECT;
using document::TASK;

namespace {

constexpr uint32_t none = static_cast<uint32_t>(-1);

// The position of each activity's project in its file's project list, or
// `none` for an activity without one.
std::vector<uint32_t> project_of_tasks(const Document& d, const record_positions<PROJECT>& projects) {
  std::vector<uint32_t> out(d.task.size(), none);
  for (size_t i = 0; i < d.task.size(); ++i) {
    const size_t p = d.task[i].project ? projects.find(d.task[i].project) : record_positions<PROJECT>::npos;
    if (p != record_positions<PROJECT>::npos) out[i] = static_cast<uint32_t>(p);
  }
  return out;
}

// Pairs the projects of equal short name, the k-th NEW one of a name with
// the k-th OLD one of it.
void pair_by_name(const Document& old_doc, const Document& new_doc, std::vector<uint32_t>& new_to_old,
                  std::vector<uint32_t>& old_to_new) {
  std::unordered_map<std::u16string_view, std::vector<uint32_t>> old_by_name;
  for (uint32_t o = old_doc.project.size(); o-- > 0;)  // last first: taken from the back
    old_by_name[old_doc.project[o].proj_short_name.value].push_back(o);
  for (uint32_t n = 0; n < new_doc.project.size(); ++n) {
    auto it = old_by_name.find(new_doc.project[n].proj_short_name.value);
    if (it == old_by_name.end() || it->second.empty()) continue;
    const uint32_t o = it->second.back();
    it->second.pop_back();
    new_to_old[n] = o;
    old_to_new[o] = n;
  }
}

// Pairs the projects left by the number of distinct Activity IDs they
// share: most first, ties in NEW order then OLD order, at least one.
void pair_by_shared_ids(const Document& new_doc, const std::vector<uint32_t>& old_task_project,
                        const code_index& old_ids, std::vector<uint32_t>& new_to_old,
                        std::vector<uint32_t>& old_to_new) {
  const bool old_left = std::count(old_to_new.begin(), old_to_new.end(), none) > 0;
  const bool new_left = std::count(new_to_old.begin(), new_to_old.end(), none) > 0;
  if (!old_left || !new_left) return;

  std::unordered_map<uint64_t, uint32_t> shared;  // (NEW << 32 | OLD) -> IDs in common
  // Per OLD ID (by its first activity), the NEW project that last counted
  // it: a NEW project's activities are gone through together, so each of
  // its IDs counts once.
  std::vector<uint32_t> counted_for(old_task_project.size(), none);
  std::vector<uint32_t> holders;
  for (uint32_t n = 0; n < new_doc.project.size(); ++n) {
    if (new_to_old[n] != none) continue;
    for (const TASK* t : new_doc.project[n].tasks) {
      const uint32_t head = old_ids.first(t->task_code.value);
      if (head == none || counted_for[head] == n) continue;
      counted_for[head] = n;
      holders.clear();
      for (uint32_t o = head; o != none; o = old_ids.next(o)) {
        const uint32_t p = old_task_project[o];
        if (p == none || old_to_new[p] != none || std::find(holders.begin(), holders.end(), p) != holders.end()) continue;
        holders.push_back(p);
        ++shared[uint64_t(n) << 32 | p];
      }
    }
  }

  struct candidate {
    uint32_t count, n, o;
  };
  std::vector<candidate> order;
  order.reserve(shared.size());
  for (const auto& [key, count] : shared) order.push_back({count, uint32_t(key >> 32), uint32_t(key)});
  std::sort(order.begin(), order.end(), [](const candidate& a, const candidate& b) {
    if (a.count != b.count) return a.count > b.count;
    if (a.n != b.n) return a.n < b.n;
    return a.o < b.o;
  });
  for (const candidate& c : order) {
    if (new_to_old[c.n] != none || old_to_new[c.o] != none) continue;
    new_to_old[c.n] = c.o;
    old_to_new[c.o] = c.n;
  }
}

// Whether the activity at `position` is the first of its ID in its project.
bool first_in_project(const code_index& ids, const std::vector<uint32_t>& task_project, uint32_t position) {
  for (uint32_t k = ids.head(position); k != position; k = ids.next(k))
    if (task_project[k] == task_project[position]) return false;
  return true;
}

}  // namespace

const TASK* schedule_match::old_of(const TASK& new_task) const {
  const size_t i = new_task_positions.find(&new_task);
  return i < old_partner.size() ? old_partner[i] : nullptr;
}

const TASK* schedule_match::new_of(const TASK& old_task) const {
  const size_t i = old_task_positions.find(&old_task);
  return i < new_partner.size() ? new_partner[i] : nullptr;
}

const PROJECT* schedule_match::old_project_of(const PROJECT& new_project) const {
  const size_t i = new_project_positions.find(&new_project);
  return i < old_project_partner.size() ? old_project_partner[i] : nullptr;
}

const PROJECT* schedule_match::new_project_of(const PROJECT& old_project) const {
  const size_t i = old_project_positions.find(&old_project);
  return i < new_project_partner.size() ? new_project_partner[i] : nullptr;
}

schedule_match match_schedules(const Document& old_doc, const Document& new_doc) {
  schedule_match m;
  m.old_doc = &old_doc;
  m.new_doc = &new_doc;
  m.old_task_positions.build(old_doc.task);
  m.new_task_positions.build(new_doc.task);
  m.old_project_positions.build(old_doc.project);
  m.new_project_positions.build(new_doc.project);

  // Projects.
  std::vector<uint32_t> new_to_old(new_doc.project.size(), none), old_to_new(old_doc.project.size(), none);
  const std::vector<uint32_t> old_task_project = project_of_tasks(old_doc, m.old_project_positions);
  const std::vector<uint32_t> new_task_project = project_of_tasks(new_doc, m.new_project_positions);
  const code_index old_ids(old_doc), new_ids(new_doc);
  pair_by_name(old_doc, new_doc, new_to_old, old_to_new);
  pair_by_shared_ids(new_doc, old_task_project, old_ids, new_to_old, old_to_new);

  m.old_project_partner.assign(new_doc.project.size(), nullptr);
  m.new_project_partner.assign(old_doc.project.size(), nullptr);
  for (uint32_t n = 0; n < new_doc.project.size(); ++n) {
    if (new_to_old[n] == none) {
      m.added.push_back(&new_doc.project[n]);
      continue;
    }
    m.pairs.push_back({&old_doc.project[new_to_old[n]], &new_doc.project[n]});
    m.old_project_partner[n] = &old_doc.project[new_to_old[n]];
    m.new_project_partner[new_to_old[n]] = &new_doc.project[n];
  }
  for (uint32_t o = 0; o < old_doc.project.size(); ++o)
    if (old_to_new[o] == none) m.deleted.push_back(&old_doc.project[o]);

  // Activities: the first of each ID in a paired project on each side.
  m.old_kept.assign(old_doc.task.size(), 0);
  m.new_kept.assign(new_doc.task.size(), 0);
  for (uint32_t o = 0; o < old_doc.task.size(); ++o) {
    const uint32_t p = old_task_project[o];
    m.old_kept[o] = p != none && old_to_new[p] != none && first_in_project(old_ids, old_task_project, o);
  }
  m.old_partner.assign(new_doc.task.size(), nullptr);
  m.new_partner.assign(old_doc.task.size(), nullptr);
  for (uint32_t i = 0; i < new_doc.task.size(); ++i) {
    const uint32_t p = new_task_project[i];
    if (p == none || new_to_old[p] == none || !first_in_project(new_ids, new_task_project, i)) continue;
    m.new_kept[i] = 1;
    const uint32_t q = new_to_old[p];
    for (uint32_t o = old_ids.first(new_doc.task[i].task_code.value); o != none; o = old_ids.next(o)) {
      if (old_task_project[o] != q) continue;
      m.old_partner[i] = &old_doc.task[o];
      m.new_partner[o] = &new_doc.task[i];
      break;
    }
  }
  return m;
}

}  // namespace tessel::analysis
