// Linking an XER schedule: every id a record carries becomes a reference to
// the record with that id. A search by id answers the first record of the
// list carrying it, so of two records with the same id only the first is
// ever found; the searches go through hash indexes built once per list.
#include <unordered_map>

#include "document/document.h"
#include "document/document_fields.h"
#include "document/records/id_index.h"

namespace tessel::document {
namespace {

// Groups the records of a list by a key, keeping list order inside a group,
// so that attaching them is one pass instead of one scan per owner.
template <typename Record>
class grouped {
 public:
  template <typename List, typename KeyOf>
  grouped(List& list, KeyOf key_of) {
    next_.assign(list.size(), npos);
    records_.reserve(list.size());
    heads_.reserve(list.size());
    for (auto& rec : list) {
      const uint32_t i = static_cast<uint32_t>(records_.size());
      records_.push_back(&rec);
      auto [it, fresh] = heads_.try_emplace(key_of(rec), std::pair<uint32_t, uint32_t>{i, i});
      if (!fresh) {
        next_[it->second.second] = i;
        it->second.second = i;
      }
    }
  }

  template <typename Fn>
  void for_each(uint64_t key, Fn fn) const {
    auto it = heads_.find(key);
    if (it == heads_.end()) return;
    for (uint32_t i = it->second.first; i != npos; i = next_[i]) fn(records_[i]);
  }

 private:
  static constexpr uint32_t npos = 0xFFFFFFFFu;
  std::vector<Record*> records_;
  std::vector<uint32_t> next_;
  std::unordered_map<uint64_t, std::pair<uint32_t, uint32_t>> heads_;
};

uint64_t pair_key(uint32_t a, uint32_t b) { return (uint64_t(a) << 32) | b; }

}  // namespace

void Document_xer::link() {
  auto obs_idx = index_of<OBS>(obs);
  auto proj_idx = index_of<PROJECT>(project);
  auto wbs_idx = index_of<PROJWBS>(projwbs);
  auto task_idx = index_of<TASK>(task);
  auto cal_idx = index_of<CALENDAR>(calendar);
  auto rsrc_idx = index_of<RSRC>(rsrc);
  auto curr_idx = index_of<CURRTYPE>(currtype);

  // 1. The OBS hierarchy.
  for (OBS& o : obs) {
    if (OBS* parent = obs_idx.find(o.parent_obs_id.value)) {
      o.parent = parent;
      parent->children.push_back(&o);
    }
  }

  // 2-4. Activities: project, WBS element, calendar, primary resource.
  for (TASK& t : task) {
    if (PROJECT* p = proj_idx.find(t.proj_id.value)) {
      p->tasks.push_back(&t);
      t.project = p;
    }
    if (PROJWBS* w = wbs_idx.find(t.wbs_id.value)) {
      w->tasks.push_back(&t);
      t.projwbs = w;
    }
    t.calendar = cal_idx.find(t.clndr_id.value);
    t.primary_rsrc = rsrc_idx.find(t.rsrc_id.value);
  }

  // 5. WBS elements: responsible manager, project, and the project's top
  // element (an element whose parent is not a WBS element; a later one
  // replaces an earlier one).
  for (PROJWBS& w : projwbs) {
    if (OBS* o = obs_idx.find(w.obs_id.value)) {
      w.obs = o;
      o->wbs.push_back(&w);
    }
    if (PROJECT* p = proj_idx.find(w.proj_id.value)) {
      p->wbs.push_back(&w);
      w.project = p;
      if (!wbs_idx.find(w.parent_wbs_id.value)) p->top_wbs = &w;
    }
  }

  // 6. The WBS hierarchy.
  for (PROJWBS& w : projwbs) {
    if (PROJWBS* parent = wbs_idx.find(w.parent_wbs_id.value)) {
      w.parent = parent;
      parent->children.push_back(&w);
    }
  }

  // 7-9. Resources: calendar, parent, first price record, currency.
  {
    id_index<RSRCRATE> rate_by_rsrc;
    rate_by_rsrc.build(rsrcrate, [](RSRCRATE& r) { return r.rsrc_id.value; });
    for (RSRC& r : rsrc) {
      r.calendar = cal_idx.find(r.clndr_id.value);
      if (RSRC* parent = rsrc_idx.find(r.parent_rsrc_id.value)) {
        r.parent = parent;
        parent->children.push_back(&r);
      }
    }
    for (RSRC& r : rsrc) r.rate = rate_by_rsrc.find(r.rsrc_id.value);
    for (RSRC& r : rsrc) r.currency = curr_idx.find(r.curr_id.value);
  }

  // 10. Assignments: every assignment whose project and activity ids match
  // an activity's is attached to it (and refers to the last such activity,
  // should two activities share the ids); likewise for resources.
  {
    grouped<TASKRSRC> by_task(taskrsrc, [](TASKRSRC& a) { return pair_key(a.proj_id.value, a.task_id.value); });
    for (TASK& t : task) {
      by_task.for_each(pair_key(t.proj_id.value, t.task_id.value), [&t](TASKRSRC* a) {
        t.assignments.push_back(a);
        a->task = &t;
      });
    }
    grouped<TASKRSRC> by_rsrc(taskrsrc, [](TASKRSRC& a) { return uint64_t(a.rsrc_id.value); });
    for (RSRC& r : rsrc) {
      by_rsrc.for_each(r.rsrc_id.value, [&r](TASKRSRC* a) {
        r.assignments.push_back(a);
        a->rsrc = &r;
      });
    }
  }

  // 11. Relationships.
  for (TASKPRED& rel : taskpred) {
    if (TASK* succ = task_idx.find(rel.task_id.value)) {
      rel.task = succ;
      succ->pred_rels.push_back(&rel);
    }
    if (TASK* pred = task_idx.find(rel.pred_task_id.value)) {
      rel.predtask = pred;
      pred->succ_rels.push_back(&rel);
    }
  }

  // 12. Project default calendars.
  for (PROJECT& p : project) p.calendar = cal_idx.find(p.clndr_id.value);

  // 13. Base calendars. Only a base's exceptions are inherited; the
  // working-time index of each calendar is built now, once.
  for (CALENDAR& c : calendar) {
    c.base = cal_idx.find(c.base_clndr_id.value);
    c.calendar.set_base(c.base ? &c.base->calendar : nullptr);
  }
  for (CALENDAR& c : calendar) c.calendar.prepare();

  // 14-15. User-defined fields and code types become catalog fields; code
  // values and their assignments are tied.
  register_document_fields(*this);
  link_codes(*this);

  // 16. Activity steps.
  for (TASKPROC& s : taskproc) {
    s.task = task_idx.find(s.task_id.value);
    s.project = proj_idx.find(s.proj_id.value);
    if (s.task) s.task->steps.push_back(&s);
  }
}

}  // namespace tessel::document
