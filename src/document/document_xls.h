// A schedule read from a spreadsheet workbook export. The workbook holds
// what the scheduling database displayed: one project, its activities with
// their displayed columns, relationships, resources and assignments. Most
// references are set while the sheets are read; linking only attaches the
// activities to the project.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/field_catalog.h"
#include "document/document.h"
#include "document/workbook/workbook.h"

namespace tessel::document {

// One workbook column of values for one catalog field, indexed by the id of
// the record each value belongs to (ids count from 1). Cells are values of
// the field's type, held contiguously.
class value_column {
 public:
  virtual ~value_column() = default;
  // The value of the record with this id, or null when the column has none.
  virtual const s_val* at(uint32_t record_id) const = 0;
  // Sets the record's value from a cell text, converted by the column's type.
  virtual void set(uint32_t record_id, std::u16string_view text) = 0;
};

// The figures of a workbook that no record member holds, by catalog and
// field id: what the field lookup answers for those fields.
class workbook_values final : public extra_values {
 public:
  // The column of a field, made on first use with the value object of the
  // catalog value type `value_type` (prices and quantities of work take
  // `unit_kind`).
  value_column& column(catalog::catalog_kind kind, uint32_t field_id, uint32_t value_type, int32_t unit_kind = 0);
  const value_column* find(catalog::catalog_kind kind, uint32_t field_id) const;

  bool has_column(catalog::catalog_kind kind, uint32_t field_id) const override {
    return find(kind, field_id) != nullptr;
  }
  const s_val* value(catalog::catalog_kind kind, uint32_t field_id, uint32_t record_id) const override {
    const value_column* c = find(kind, field_id);
    return c ? c->at(record_id) : nullptr;
  }

 private:
  std::array<std::vector<std::unique_ptr<value_column>>, catalog::catalog_count> columns_;
};

class Document_xls : public Document {
 public:
  // A workbook of either container; the import is the same for both.
  explicit Document_xls(workbook_kind kind = workbook_kind::xls);
  ~Document_xls() override;

  workbook_kind kind() const { return kind_; }

  // Clears the availability of every catalog field, imports the workbook
  // (which marks the fields it carries), links and runs the passes. Answers
  // false, refused, when the workbook could not be read or lacks its
  // user-data or activity sheet.
  bool load(const std::u16string& path) override;
  // Attaches every activity to the first project.
  void link() override;
  // The workbook variants of the post-load passes, over every activity,
  // WBS element, resource and project in that order.
  void run_passes();

  // Marks the load as refused: the workbook could not be read at all, or
  // holds no schedule; `reason` says why in plain words when it is known.
  void refuse(std::u16string reason = {}) {
    refused_ = true;
    if (!reason.empty()) refusal_reason_ = std::move(reason);
  }

  // The load report, filled by the import as it reads the sheets.
  load_report& report_to_fill() { return report_; }

  workbook_values& values() { return values_; }
  const workbook_values& values() const { return values_; }

  // The derived members of a WBS element that the workbook carried for it
  // (bit i for member i of PROJWBS::members()); the passes leave those as
  // read. Indexed by wbs_id - 1.
  std::vector<uint64_t> wbs_carried;
  // Whether the activity sheet carried each activity's joined resource
  // names; otherwise the assignments give them.
  bool resource_list_read = false;

 private:
  workbook_kind kind_;
  workbook_values values_;
};

}  // namespace tessel::document
