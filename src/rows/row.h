// The rows of a table: one root, group rows for each grouping level and leaf
// rows that stand for one record each. A view asks a row what kind it is,
// which record it stands for and its value for any catalog field; a group
// row answers field questions with a summary of the rows below it, computed
// once per field by its group item and kept.
//
// A row owns its children (and a group row its group item); records belong
// to the document and are only referred to. A tree is built, shown and
// destroyed as a whole from its root; it is never updated in place except
// for the order of its children, the expanded and selected flags, the
// rectangles and the index.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "config/field_source.h"
#include "document/records/records.h"
#include "values/s_val.h"

namespace tessel::document {
class field_lookup;
}

namespace tessel::view {

class GroupItem;
class Row;

using row_list = std::vector<std::unique_ptr<Row>>;

// A rectangle in pixels: left, top, width, height.
struct row_rect {
  float x = 0.0f;
  float y = 0.0f;
  float w = 0.0f;
  float h = 0.0f;
};

class Row : public field_source {
 public:
  Row(const Row&) = delete;
  Row& operator=(const Row&) = delete;
  ~Row() override;

  // Kind tests.
  virtual bool is_activity_row() const { return false; }
  virtual bool is_project_row() const { return false; }
  virtual bool is_wbs_row() const { return false; }
  virtual bool is_group_row() const { return false; }
  virtual bool is_resource_row() const { return false; }
  virtual bool is_relationship_row() const { return false; }
  virtual bool is_activity_code_row() const { return false; }
  virtual bool is_project_code_row() const { return false; }
  virtual bool is_resource_code_row() const { return false; }
  virtual bool is_activity_step_row() const { return false; }
  virtual bool is_root_row() const { return false; }

  // The record a leaf row stands for; null for every other kind.
  virtual const document::TASK* activity() const { return nullptr; }
  virtual const document::PROJECT* project() const { return nullptr; }
  virtual const document::PROJWBS* wbs() const { return nullptr; }
  virtual const document::RSRC* resource() const { return nullptr; }
  virtual const document::TASKPRED* relationship() const { return nullptr; }
  virtual const document::TASKACTV* activity_code() const { return nullptr; }
  virtual const document::PROJPCAT* project_code() const { return nullptr; }
  virtual const document::RSRCRCAT* resource_code() const { return nullptr; }
  virtual const document::TASKPROC* activity_step() const { return nullptr; }

  // The row's value for a catalog field: the record's value for a leaf row,
  // the group's summary for a group row, the shared empty value otherwise.
  // The answer belongs to the record, the group item or the process; the
  // caller reads it and never deletes it.
  const s_val& field_value(uint32_t field_id) const override;
  virtual const s_val& field_value_at(const uint32_t& field_id) const;

  // The group item of a group row; null for every other kind.
  virtual GroupItem* group_item() const { return nullptr; }

  // Children, in display order.
  const row_list& children() const { return children_; }
  row_list& children() { return children_; }
  bool has_children() const { return !children_.empty(); }
  // Appends `child` (taking it) and sets its depth one below this row's.
  Row& add_child(std::unique_ptr<Row> child);

  // Level in the tree: 0 for the root, parent's + 1 for every other row.
  int depth = 0;
  bool expanded = true;
  bool selected = false;
  row_rect table_rect;  // where the table drew the row
  row_rect chart_rect;  // where the Gantt chart drew it
  int index = -1;       // set by the views

 protected:
  Row() = default;

 private:
  row_list children_;
};

// The invisible top of every tree.
class RootRow final : public Row {
 public:
  RootRow() = default;
  bool is_root_row() const override { return true; }
};

// A group: its item carries the group's identity and its summaries.
class GroupRow final : public Row {
 public:
  explicit GroupRow(std::unique_ptr<GroupItem> item);
  ~GroupRow() override;

  bool is_group_row() const override { return true; }
  GroupItem* group_item() const override { return item_.get(); }
  // Answered through field_value_at: the group item's summary of this row's
  // children, computed on the first request and kept.
  const s_val& field_value_at(const uint32_t& field_id) const override;

 private:
  std::unique_ptr<GroupItem> item_;
};

// Leaf rows that answer fields through the document's value lookup.
class ActivityRow final : public Row {
 public:
  ActivityRow(const document::TASK& r, const document::field_lookup& fields)
      : record_(&r), fields_(&fields) {}
  bool is_activity_row() const override { return true; }
  const document::TASK* activity() const override { return record_; }
  const s_val& field_value_at(const uint32_t& field_id) const override;

 private:
  const document::TASK* record_;
  const document::field_lookup* fields_;
};

class WBSRow final : public Row {
 public:
  WBSRow(const document::PROJWBS& r, const document::field_lookup& fields)
      : record_(&r), fields_(&fields) {}
  bool is_wbs_row() const override { return true; }
  const document::PROJWBS* wbs() const override { return record_; }
  const s_val& field_value_at(const uint32_t& field_id) const override;

 private:
  const document::PROJWBS* record_;
  const document::field_lookup* fields_;
};

class ProjectRow final : public Row {
 public:
  ProjectRow(const document::PROJECT& r, const document::field_lookup& fields)
      : record_(&r), fields_(&fields) {}
  bool is_project_row() const override { return true; }
  const document::PROJECT* project() const override { return record_; }
  const s_val& field_value_at(const uint32_t& field_id) const override;

 private:
  const document::PROJECT* record_;
  const document::field_lookup* fields_;
};

class ResourceRow final : public Row {
 public:
  ResourceRow(const document::RSRC& r, const document::field_lookup& fields)
      : record_(&r), fields_(&fields) {}
  bool is_resource_row() const override { return true; }
  const document::RSRC* resource() const override { return record_; }
  const s_val& field_value_at(const uint32_t& field_id) const override;

 private:
  const document::RSRC* record_;
  const document::field_lookup* fields_;
};

// A relationship shown in an activity's predecessor table (its fields are
// those of the predecessor catalog: the other activity is the predecessor)
// or in its successor table (successor catalog).
class RelationshipRow final : public Row {
 public:
  enum class side : uint8_t { predecessor, successor };
  RelationshipRow(const document::TASKPRED& r, const document::field_lookup& fields, side s)
      : record_(&r), fields_(&fields), side_(s) {}
  bool is_relationship_row() const override { return true; }
  const document::TASKPRED* relationship() const override { return record_; }
  const s_val& field_value_at(const uint32_t& field_id) const override;
  side shown_as() const { return side_; }

 private:
  const document::TASKPRED* record_;
  const document::field_lookup* fields_;
  side side_;
};

// Code and step rows stand for their record in the detail tables, which
// read the record directly; they answer every field with the empty value.
class ActivityCodeRow final : public Row {
 public:
  explicit ActivityCodeRow(const document::TASKACTV& r) : record_(&r) {}
  bool is_activity_code_row() const override { return true; }
  const document::TASKACTV* activity_code() const override { return record_; }

 private:
  const document::TASKACTV* record_;
};

class ActivityStepRow final : public Row {
 public:
  explicit ActivityStepRow(const document::TASKPROC& r) : record_(&r) {}
  bool is_activity_step_row() const override { return true; }
  const document::TASKPROC* activity_step() const override { return record_; }

 private:
  const document::TASKPROC* record_;
};

class ProjectCodeRow final : public Row {
 public:
  explicit ProjectCodeRow(const document::PROJPCAT& r) : record_(&r) {}
  bool is_project_code_row() const override { return true; }
  const document::PROJPCAT* project_code() const override { return record_; }

 private:
  const document::PROJPCAT* record_;
};

class ResourceCodeRow final : public Row {
 public:
  explicit ResourceCodeRow(const document::RSRCRCAT& r) : record_(&r) {}
  bool is_resource_code_row() const override { return true; }
  const document::RSRCRCAT* resource_code() const override { return record_; }

 private:
  const document::RSRCRCAT* record_;
};

}  // namespace tessel::view
