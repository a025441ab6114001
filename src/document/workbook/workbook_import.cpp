// The workbook import: the one project, the user-data sheet with its display
// preferences, and the activity sheet with its WBS elements, user fields and
// activity codes.
#include "document/workbook/workbook_import.h"

#include <array>
#include <deque>

#include "document/io/open_limits.h"
#include "values/display_prefs.h"

namespace tessel::document {
namespace {

using catalog::catalog_kind;

const workbook_sheet* find_sheet(const std::vector<workbook_sheet>& sheets, std::string_view name) {
  for (const workbook_sheet& s : sheets)
    if (s.name() == name) return &s;
  return nullptr;
}

// Every record of a workbook belongs to its one project.
PROJECT& add_project(Document_xls& doc) {
  PROJECT& p = doc.project.emplace_back();
  p.proj_id.value = 1;
  return p;
}

void mark(catalog::field_entry* e) {
  if (e) catalog::catalog_set::mark_available(*e);
}

}  // namespace

bool import_workbook(Document_xls& doc, const std::u16string& path) {
  workbook book;
  if (!book.open(path, doc.kind())) {
    add_project(doc);
    doc.refuse(book.refusal());
    return false;
  }
  return import_book(doc, book, [&book](const workbook_sheet& s) { book.release(s); });
}

bool import_book(Document_xls& doc, const workbook& book, const sheet_done& done) {
  // Every data row of these sheets becomes a record, and every cell of it
  // a value, whether the row holds anything or not.
  uint64_t record_bytes = 0;
  for (const workbook_sheet& s : book.sheets()) {
    const uint64_t size = s.name() == "TASK"       ? sizeof(TASK) + sizeof(PROJWBS*)
                          : s.name() == "TASKPRED" ? sizeof(TASKPRED)
                          : s.name() == "RSRC"     ? sizeof(RSRC)
                          : s.name() == "TASKRSRC" ? sizeof(TASKRSRC)
                                                   : 0;
    if (size > 0) record_bytes += uint64_t(s.row_count()) * (size + uint64_t(s.column_count()) * 16);
  }
  if (!records_acceptable(record_bytes, book.file_size(), available_memory())) {
    add_project(doc);
    doc.refuse(workbook_refusal::too_many_records);
    return false;
  }
  return import_sheets(doc, book.sheets(), done);
}

namespace {

// The sheets in workbook order with their data rows (below the header and
// caption rows), split into those the import reads and the others.
void note_sheets(load_report& report, const std::vector<workbook_sheet>& sheets, workbook_kind kind) {
  report.format = kind == workbook_kind::xlsx ? "XLSX workbook" : "XLS workbook";
  for (const workbook_sheet& s : sheets) {
    const bool read = s.name() == "USERDATA" || s.name() == "TASK" || s.name() == "TASKPRED" ||
                      s.name() == "RSRC" || s.name() == "TASKRSRC";
    const size_t rows = s.row_count() > 2 ? s.row_count() - 2 : 0;
    (read ? report.tables_read : report.tables_not_read).push_back({s.name(), rows});
  }
}

}  // namespace

bool import_sheets(Document_xls& doc, const std::vector<workbook_sheet>& sheets, const sheet_done& done) {
  note_sheets(doc.report_to_fill(), sheets, doc.kind());
  import_context cx(doc);
  cx.project = &add_project(doc);

  // A workbook without its preferences sheet, or without activities, is
  // not a schedule export: it is refused rather than shown empty.
  const workbook_sheet* user_data = find_sheet(sheets, "USERDATA");
  if (!user_data) {
    doc.refuse(workbook_refusal::no_user_data);
    return false;
  }
  const workbook_sheet* tasks = find_sheet(sheets, "TASK");
  if (!tasks) {
    doc.refuse(workbook_refusal::no_task_sheet);
    return false;
  }
  const workbook_sheet* relationships = find_sheet(sheets, "TASKPRED");
  // The project cost sheet is known but holds nothing the viewer shows.
  (void)find_sheet(sheets, "PROJCOST");
  const workbook_sheet* resources = find_sheet(sheets, "RSRC");
  const workbook_sheet* assignments = find_sheet(sheets, "TASKRSRC");

  import_user_data(cx, *user_data);
  const auto finished = [&done](const workbook_sheet* s) {
    if (s && done) done(*s);
  };
  import_tasks(cx, *tasks);
  finished(tasks);
  if (relationships) import_relationships(cx, *relationships);
  finished(relationships);
  if (resources) import_resources(cx, *resources);
  finished(resources);
  if (assignments) import_assignments(cx, *assignments);
  finished(assignments);
  doc.wbs_carried.resize(doc.projwbs.size(), 0);
  doc.report_to_fill().activities = doc.task.size();
  return true;
}

void import_user_data(import_context&, const workbook_sheet& s) {
  // The export writes one column headed "user_data", a caption row and the
  // preferences text.
  const bool readable = s.column_count() == 1 && s.row_count() == 3 && s.cell(0, 0) == u"user_data";
  apply_workbook_user_data(readable ? s.cell(2, 0) : std::u16string_view(), readable);
}

// ---- WBS elements -------------------------------------------------------------
//
// A WBS code such as "PRJ.A.B" names the element B under A under the
// project's own node: every prefix of the code is an element of its own, so
// the WBS view shows the whole tree even though a workbook names only the
// elements that hold activities. Codes are split at their dots; a run of
// dots ("PRJ..A") ends the part before it with all but its last dot, so no
// part is ever empty and every element's full code is the exported text.

namespace {

// Where each part of a code ends (exclusive); the next part starts one past.
void part_ends(std::u16string_view code, std::vector<size_t>& ends) {
  ends.clear();
  for (size_t i = 1; i + 1 < code.size(); ++i)
    if (code[i] == u'.' && code[i + 1] != u'.') ends.push_back(i);
  ends.push_back(code.size());
}

std::u16string_view first_part(std::u16string_view code, std::vector<size_t>& ends) {
  part_ends(code, ends);
  return code.substr(0, ends[0]);
}

std::u16string_view without_trailing_dots(std::u16string_view s) {
  while (!s.empty() && s.back() == u'.') s.remove_suffix(1);
  return s;
}

class wbs_builder {
 public:
  wbs_builder(import_context& cx, std::u16string_view project_code) : cx_(cx), project_code_(project_code) {
    Document_xls& doc = cx.doc;
    PROJWBS& node = doc.projwbs.emplace_back();
    node.wbs_id.value = 1;
    node.proj_id.value = 1;
    node.proj_node_flag.value = 1;
    node.wbs_short_name.value.assign(project_code);
    node.wbs_path.value.assign(project_code);
    node.project = cx.project;
    cx.project->top_wbs = &node;
    cx.project->wbs.push_back(&node);
    node_ = &node;
  }

  PROJWBS* node() const { return node_; }

  // The element of a full code, made with its ancestors when new.
  PROJWBS* element(std::u16string_view code) {
    if (code.empty()) return node_;
    if (auto it = cx_.wbs_by_path.find(code); it != cx_.wbs_by_path.end()) return it->second;
    part_ends(code, ends_);
    size_t k = 0;
    size_t start = 0;
    // A code led by the project's own code hangs below the project's node.
    if (!project_code_.empty() && (code.substr(0, ends_[0]) == project_code_ ||
                                   without_trailing_dots(code.substr(0, ends_[0])) == project_code_)) {
      if (ends_.size() == 1) return node_;
      start = ends_[0] + 1;
      k = 1;
    }
    PROJWBS* parent = node_;
    for (; k < ends_.size(); ++k) {
      const std::u16string path(code.substr(0, ends_[k]));
      auto [it, fresh] = cx_.wbs_by_path.try_emplace(path, nullptr);
      if (fresh) it->second = add(parent, path, code.substr(start, ends_[k] - start));
      parent = it->second;
      start = ends_[k] + 1;
    }
    return parent;
  }

 private:
  PROJWBS* add(PROJWBS* parent, const std::u16string& path, std::u16string_view short_name) {
    Document_xls& doc = cx_.doc;
    PROJWBS& w = doc.projwbs.emplace_back();
    w.wbs_id.value = static_cast<uint32_t>(doc.projwbs.size());
    w.proj_id.value = 1;
    w.parent_wbs_id.value = parent->wbs_id.value;
    w.seq_num.value = static_cast<int32_t>(parent->children.size());
    w.seq_num.value_empty = 0;
    w.wbs_short_name.value.assign(short_name);
    w.wbs_path.value = path;
    w.project = cx_.project;
    w.parent = parent;
    parent->children.push_back(&w);
    cx_.project->wbs.push_back(&w);
    return &w;
  }

  import_context& cx_;
  std::u16string project_code_;
  PROJWBS* node_ = nullptr;
  std::vector<size_t> ends_;
};

// The first non-empty data cell of the first of `headers` that has one.
std::u16string_view first_value(const workbook_sheet& s, std::initializer_list<std::u16string_view> headers) {
  for (std::u16string_view h : headers) {
    const int c = s.column(h);
    if (c < 0) continue;
    for (uint32_t r = 2; r < s.row_count(); ++r)
      if (!s.cell(r, static_cast<uint32_t>(c)).empty()) return s.cell(r, static_cast<uint32_t>(c));
  }
  return {};
}

// The project's own code: the exported project id when a column carries it,
// otherwise the part that leads every WBS code (an export writes each WBS
// code after its project's id), otherwise none.
std::u16string project_code(const workbook_sheet& s, int code_col) {
  std::u16string_view id = first_value(s, {u"project__proj_short_name", u"_project__proj_short_name",
                                           u"project_short_name"});
  if (!id.empty() || code_col < 0) return std::u16string(id);
  std::vector<size_t> ends;
  std::u16string_view lead;
  bool deeper = false;
  for (uint32_t r = 2; r < s.row_count(); ++r) {
    const std::u16string_view code = s.cell(r, static_cast<uint32_t>(code_col));
    if (code.empty()) continue;
    const std::u16string_view part = first_part(code, ends);
    if (lead.empty()) lead = part;
    if (part != lead) return {};
    deeper = deeper || ends.size() > 1;
  }
  return deeper ? std::u16string(lead) : std::u16string();
}

// ---- Activities -----------------------------------------------------------------

enum class target : uint8_t { member, extra, wbs_member, user_field, code };

// What one column of the activity sheet sets.
struct column_plan {
  uint32_t col = 0;
  target kind = target::member;
  const member_desc* member = nullptr;  // a TASK member, or a PROJWBS member
  uint64_t carried_bit = 0;             // for a PROJWBS member
  value_column* column = nullptr;
  UDFTYPE* user_field = nullptr;
  size_t code_type = 0;  // index into the code types of this sheet
};

// Keys of the activity catalog that are answered from the activity's linked
// records (its WBS element, calendar, primary resource, project): a column
// carrying them builds or names those records instead.
bool answered_by_link(std::u16string_view key) {
  return key == u"wbs_id" || key == u"wbs_name" || key == u"wbs_path" || key == u"clndr_id" ||
         key == u"rsrc_id" || key.find(u"\\7C") != std::u16string_view::npos;
}

// Joined lists the export writes as plain columns; the catalog knows them
// by key.
bool joined_list(std::u16string_view h) {
  static constexpr std::array<std::u16string_view, 9> lists = {
      u"account_list", u"account_code_list", u"resource_list", u"resource_code_list", u"role_list",
      u"role_code_list", u"pred_list",       u"succ_list",     u"input_list"};
  for (std::u16string_view l : lists)
    if (h == l) return true;
  return false;
}

// Flags the export writes as "Y" and "N" whatever the catalog shows them as.
bool flag_column(std::u16string_view key) {
  return key == u"rev_fdbk_flag" || key == u"lock_plan_flag" || key == u"auto_compute_act_flag" ||
         key == u"driving_path_flag" || key == u"critical_flag";
}

// The bit that marks a WBS element's member as carried by the workbook; a
// member beyond the 64 a mark holds is never marked (none is: an element
// has fewer members).
uint64_t carried_mark(std::span<const member_desc> members, const member_desc* m) {
  const ptrdiff_t i = m ? m - members.data() : 64;
  return i >= 0 && i < 64 ? uint64_t{1} << i : 0;
}

struct code_type_values {
  ACTVTYPE* type;
  text_map<ACTVCODE*> by_name;
};

}  // namespace

void import_tasks(import_context& cx, const workbook_sheet& s) {
  Document_xls& doc = cx.doc;
  auto& cats = catalog::catalogs();
  const wb::column_index activity_columns(catalog_kind::activity);
  const wb::column_index wbs_columns(catalog_kind::wbs);
  const wb::column_index project_columns(catalog_kind::project);
  const std::span<const member_desc> task_members = TASK::members();
  const std::span<const member_desc> wbs_members = PROJWBS::members();

  // The columns that build the WBS tree and name the project.
  int code_col = -1;
  for (std::u16string_view h : {u"wbs_id", u"_wbs_id", u"wbs_path", u"_wbs_path"}) {
    code_col = s.column(h);
    if (code_col >= 0) break;
  }
  const int wbs_name_col = s.column(u"wbs_name");

  // 1. The header row: user fields and code types register their fields;
  // every other column is matched to the catalog fields it supplies.
  std::vector<column_plan> plans;
  std::deque<code_type_values> code_types;
  for (uint32_t c = 0; c < s.column_count(); ++c) {
    const std::u16string_view h = s.cell(0, c);
    const std::u16string_view caption = s.cell(1, c);
    if (h.empty()) continue;
    if (h.starts_with(u"user_field_")) {
      if (const uint32_t n = wb::numbered(h, u"user_field_")) {
        column_plan p{c, target::user_field};
        p.user_field = wb::register_user_field(doc, catalog_kind::activity, catalog::entities::activity, n, u"TASK",
                                               caption);
        plans.push_back(p);
      }
      continue;
    }
    if (h.starts_with(u"actv_code_")) {
      // "actv_code_cd_id" and other headers without a type number register
      // nothing.
      if (const uint32_t n = wb::numbered(h, u"actv_code_")) {
        size_t k = 0;
        while (k < code_types.size() && code_types[k].type->actv_code_type_id.value != n) ++k;
        if (k == code_types.size()) {
          ACTVTYPE& t = doc.actvtype.emplace_back();
          t.actv_code_type_id.value = n;
          t.proj_id.value = 1;
          t.actv_code_type.value.assign(caption.empty() ? h : caption);
          t.column_key = u"actv_code_" + decimal_text(n);
          code_types.push_back({&t, {}});
          catalog::field_spec fields;
          fields.caption = t.actv_code_type.value;
          fields.field_id = n + catalog::activity_code_base;
          fields.persistent_id = fields.field_id;
          fields.value_type = catalog::value_types::text;
          fields.entity = catalog::entities::activity;
          fields.available = true;
          fields.key = t.column_key;
          fields.workbook_column.assign(h);
          cats.register_field(catalog_kind::activity, std::move(fields));
        }
        column_plan p{c, target::code};
        p.code_type = k;
        plans.push_back(p);
      }
      continue;
    }

    catalog::field_entry* e = activity_columns.find(h);
    if (!e && joined_list(h)) e = cats.find_key(catalog_kind::activity, h);
    if (e) {
      mark(e);
      if (!answered_by_link(e->key)) {
        const member_desc* m = find_member(task_members, e->key);
        if (m && m->kind != member_kind::id) {
          column_plan p{c, target::member};
          p.member = m;
          plans.push_back(p);
        } else if (!m && e->field_id < catalog::user_field_base) {
          column_plan p{c, target::extra};
          p.column = &doc.values().column(catalog_kind::activity, e->field_id,
                                          flag_column(e->key) ? catalog::value_types::flag : e->value_type);
          plans.push_back(p);
        }
      } else if (e->key == u"projwbs\\7Cstatus_code") {
        // The status of the activity's WBS element.
        const member_desc* m = find_member(wbs_members, u"status_code");
        column_plan p{c, target::wbs_member};
        p.member = m;
        p.carried_bit = carried_mark(wbs_members, m);
        plans.push_back(p);
      }
    }
    if (h == u"resource_list") doc.resource_list_read = true;

    if (catalog::field_entry* w = wbs_columns.find(h)) {
      mark(w);
      const member_desc* m = find_member(wbs_members, w->key);
      // The node type follows from the tree; the code and path from the
      // element's place in it.
      if (m && m->kind != member_kind::id && w->key != u"node_type" && w->key != u"wbs_path" &&
          w->key != u"wbs_name" && carried_mark(wbs_members, m)) {
        column_plan p{c, target::wbs_member};
        p.member = m;
        p.carried_bit = carried_mark(wbs_members, m);
        plans.push_back(p);
      }
    }
    mark(project_columns.find(h));
  }

  // 2. The project's names and the WBS elements.
  const std::u16string code = project_code(s, code_col);
  wbs_builder tree(cx, code);
  cx.project->proj_short_name.value = code;
  tree.node()->wbs_name.value.assign(first_value(s, {u"project__proj_name", u"_project__proj_name"}));
  if (!code.empty()) {
    mark(cats.find_key(catalog_kind::activity, u"project\\7Cproj_short_name"));
    mark(cats.find_key(catalog_kind::project, u"project\\7Cproj_short_name"));
  }
  if (!tree.node()->wbs_name.value.empty()) {
    mark(cats.find_key(catalog_kind::activity, u"project\\7Cproj_name"));
    mark(cats.find_key(catalog_kind::project, u"project\\7Cproj_name"));
  }
  if (code_col >= 0) {
    // The activity's WBS columns show its element's full code.
    mark(cats.find_key(catalog_kind::activity, u"wbs_id"));
    mark(cats.find_key(catalog_kind::activity, u"wbs_path"));
    mark(cats.find_key(catalog_kind::wbs, u"wbs_concat_name"));
    mark(cats.find_key(catalog_kind::wbs, u"wbs_path"));
  }
  const uint32_t rows = s.row_count();
  std::vector<PROJWBS*> row_wbs;
  row_wbs.reserve(rows > 2 ? rows - 2 : 0);
  for (uint32_t r = 2; r < rows; ++r)
    row_wbs.push_back(code_col >= 0 ? tree.element(s.cell(r, static_cast<uint32_t>(code_col))) : tree.node());
  std::vector<uint64_t>& carried = doc.wbs_carried;
  carried.assign(doc.projwbs.size(), 0);

  // 3. One activity per data row.
  if (doc.task.size() == 0 && rows > 2) doc.task.reserve_back(rows - 2);
  for (uint32_t r = 2; r < rows; ++r) {
    TASK& t = doc.task.emplace_back();
    const uint32_t id = r - 1;
    t.task_id.value = id;
    t.proj_id.value = 1;
    PROJWBS* w = row_wbs[r - 2];
    t.projwbs = w;
    t.wbs_id.value = w->wbs_id.value;
    w->tasks.push_back(&t);
    if (wbs_name_col >= 0 && w->wbs_name.value.empty()) {
      w->wbs_name.value.assign(s.cell(r, static_cast<uint32_t>(wbs_name_col)));
      cx.wbs_named = cx.wbs_named || !w->wbs_name.value.empty();
    }
    for (const column_plan& p : plans) {
      const std::u16string_view text = s.cell(r, p.col);
      switch (p.kind) {
        case target::member:
          // The line of a date that could not be read is the sheet's row.
          if (!wb::set_value(p.member->get(&t), text)) doc.report_to_fill().unreadable_dates.add(r + 1);
          break;
        case target::extra:
          p.column->set(id, text);
          break;
        case target::wbs_member: {
          // Every activity of an element carries the element's figure; the
          // first one gives it.
          uint64_t& bits = carried[w->wbs_id.value - 1];
          if (!(bits & p.carried_bit)) {
            wb::set_value(p.member->get(w), text);
            bits |= p.carried_bit;
          }
          break;
        }
        case target::user_field:
          wb::set_user_field(doc, p.user_field, id, text);
          break;
        case target::code: {
          if (text.empty()) break;
          code_type_values& ct = code_types[p.code_type];
          auto it = ct.by_name.find(text);
          const bool fresh = it == ct.by_name.end();
          if (fresh) it = ct.by_name.emplace(std::u16string(text), nullptr).first;
          if (fresh) {
            ACTVCODE& v = doc.actvcode.emplace_back();
            v.actv_code_id.value = static_cast<uint32_t>(doc.actvcode.size());
            v.actv_code_type_id.value = ct.type->actv_code_type_id.value;
            v.seq_num.value = static_cast<int32_t>(ct.by_name.size());
            v.seq_num.value_empty = 0;
            v.short_name.value.assign(text);
            v.type = ct.type;
            it->second = &v;
          }
          TASKACTV& a = doc.taskactv.emplace_back();
          a.task_id.value = id;
          a.actv_code_type_id.value = ct.type->actv_code_type_id.value;
          a.actv_code_id.value = it->second->actv_code_id.value;
          a.proj_id.value = 1;
          a.task = &t;
          a.code = it->second;
          break;
        }
      }
    }
    // An Activity ID taken by a row above: relationships and assignments
    // naming it find the first. The line is the sheet's row number.
    if (!t.task_code.value.empty() && !cx.task_by_code.try_emplace(t.task_code.value, &t).second)
      doc.report_to_fill().faults_of(s.name()).faults[size_t(row_fault::duplicate_id)].add(r + 1);
  }
  if (cx.wbs_named) mark(cats.find_key(catalog_kind::wbs, u"wbs_name"));
}

}  // namespace tessel::document
