// The optional "Start Δ" and "Finish Δ" activity columns while two updates
// are compared: how many days each activity's forecast start and finish in
// the open (NEW) file moved since the other (OLD) one. Activities without a
// partner show nothing.
#pragma once

#include <unordered_map>

#include "analysis/schedule_match.h"
#include "catalog/field_catalog.h"
#include "document/field_lookup.h"
#include "values/s_scalars.h"

namespace tessel::analysis {

inline constexpr uint32_t start_delta_field = catalog::late_field_base + 1;
inline constexpr uint32_t finish_delta_field = catalog::late_field_base + 2;

class compare_columns final : public document::extra_values {
 public:
  explicit compare_columns(const schedule_match& match);

  bool has_column(catalog::catalog_kind kind, uint32_t field_id) const override;
  // By the NEW activity's id.
  const s_val* value(catalog::catalog_kind kind, uint32_t field_id, uint32_t record_id) const override;

 private:
  struct deltas {
    s_double start, finish;
  };
  std::unordered_map<uint32_t, deltas> by_task_id_;
};

// Puts the two fields in the current activity catalog (once per catalog
// build) and offers them in the column chooser or withdraws them.
void offer_compare_columns(bool offered);

}  // namespace tessel::analysis
