#include "rows/row.h"

#include "document/field_lookup.h"
#include "rows/group_item.h"

namespace tessel::view {

Row::~Row() {
  // Destroys the subtree one row at a time, so that even a very deep tree
  // (a long chain of WBS elements) never nests destructor calls.
  row_list pending = std::move(children_);
  while (!pending.empty()) {
    std::unique_ptr<Row> r = std::move(pending.back());
    pending.pop_back();
    for (std::unique_ptr<Row>& c : r->children_) pending.push_back(std::move(c));
    r->children_.clear();
  }
}

const s_val& Row::field_value(uint32_t field_id) const { return field_value_at(field_id); }

const s_val& Row::field_value_at(const uint32_t&) const { return shared_empty_value(); }

Row& Row::add_child(std::unique_ptr<Row> child) {
  child->depth = depth + 1;
  children_.push_back(std::move(child));
  return *children_.back();
}

GroupRow::GroupRow(std::unique_ptr<GroupItem> item) : item_(std::move(item)) {}

GroupRow::~GroupRow() = default;

const s_val& GroupRow::field_value_at(const uint32_t& field_id) const {
  if (!item_) return shared_empty_value();
  return item_->cached_summary(field_id, children());
}

const s_val& ActivityRow::field_value_at(const uint32_t& field_id) const {
  return fields_->value(*record_, field_id);
}

const s_val& WBSRow::field_value_at(const uint32_t& field_id) const {
  return fields_->value(*record_, field_id);
}

const s_val& ProjectRow::field_value_at(const uint32_t& field_id) const {
  return fields_->value(*record_, field_id);
}

const s_val& ResourceRow::field_value_at(const uint32_t& field_id) const {
  return fields_->value(*record_, field_id);
}

const s_val& RelationshipRow::field_value_at(const uint32_t& field_id) const {
  return side_ == side::predecessor ? fields_->predecessor_value(*record_, field_id)
                                    : fields_->successor_value(*record_, field_id);
}

}  // namespace tessel::view
