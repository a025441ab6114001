// Predefined filters: their list, what each selects, the evaluation rules of
// groups and entries, and the two readings users rely on ("Negative Float"
// selects negative total float; the inequality filters on enumerations
// work).
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>

#include "catalog/field_catalog.h"
#include "config/filters.h"
#include "config/layout.h"
#include "values/enums.h"
#include "values/s_quantity.h"
#include "values/s_scalars.h"

namespace {

using namespace tessel;
using namespace tessel::view;
using catalog::catalog_kind;

// A row whose values are set by field key; unset fields answer the shared
// empty value. Counts the questions it is asked.
class fake_row : public field_source {
 public:
  explicit fake_row(catalog_kind kind = catalog_kind::activity) : kind_(kind) {}
  fake_row& set(std::u16string_view key, const s_val& v) {
    const catalog::field_entry* e = catalog::find_field(kind_, key);
    EXPECT_NE(e, nullptr) << std::string(key.begin(), key.end());
    if (e) values_[e->field_id] = v.clone();
    return *this;
  }
  const s_val& field_value(uint32_t id) const override {
    ++asked;
    auto it = values_.find(id);
    return it == values_.end() ? shared_empty_value() : *it->second;
  }
  mutable int asked = 0;

 private:
  catalog_kind kind_;
  std::map<uint32_t, val_ptr> values_;
};

class Filters : public ::testing::Test {
 protected:
  void SetUp() override {
    catalog::build_catalogs();
    BuildPredefinedFilters(lists_);
  }
  void TearDown() override {
    lists_.clear();
    catalog::reset_catalogs();
  }
  const PredefinedFilter& act(std::size_t number) const { return *lists_.activity.at(number - 1); }
  filter_lists lists_;
};

TEST_F(Filters, ListsAreBuiltOnceAndFoundByExactName) {
  ASSERT_EQ(lists_.activity.size(), 13u);
  ASSERT_EQ(lists_.wbs.size(), 2u);
  ASSERT_EQ(lists_.project.size(), 2u);

  // Finding an activity filter takes the first exact name.
  EXPECT_EQ(FindActivityFilter(lists_, u"In Progress"), &act(5));
  EXPECT_EQ(FindActivityFilter(lists_, u"Not Started"), &act(13));
  EXPECT_EQ(FindActivityFilter(lists_, u"in progress"), nullptr);
  EXPECT_EQ(FindActivityFilter(lists_, u"In Progress "), nullptr);
  EXPECT_EQ(FindActivityFilter(lists_, u"All Projects"), nullptr);  // not an activity filter
  filter_lists none;
  EXPECT_EQ(FindActivityFilter(none, u"Completed"), nullptr);
}

TEST_F(Filters, EachFilterSelectsWhatItsNameSays) {
  // Completed, In Progress and Not Started select their own status only.
  for (int32_t status = 0; status <= 2; ++status) {
    fake_row r;
    r.set(u"status_code", s_activity_status(status));
    EXPECT_EQ(act(1).Evaluate(r), status == 0) << status;
    EXPECT_EQ(act(5).Evaluate(r), status == 1) << status;
    EXPECT_EQ(act(13).Evaluate(r), status == 2) << status;
  }
  // Start constraints are the codes 2 to 5, finish constraints 6 to 9, as
  // primary or as secondary constraint; Start On with Finish On is in both.
  for (int32_t code = 0; code <= 9; ++code)
    for (std::u16string_view key : {u"cstr_type", u"cstr_type2"}) {
      fake_row r;
      r.set(key, s_constraint_type(code));
      EXPECT_EQ(act(3).Evaluate(r), code >= 6) << code;
      EXPECT_EQ(act(4).Evaluate(r), code >= 2 && code <= 5) << code;
    }
  fake_row both;
  both.set(u"cstr_type", s_constraint_type(2)).set(u"cstr_type2", s_constraint_type(6));
  EXPECT_TRUE(act(3).Evaluate(both) && act(4).Evaluate(both));
  // Activity types: milestones, level of effort, the three normal kinds.
  for (int32_t type = 0; type <= 5; ++type) {
    fake_row r;
    r.set(u"task_type", s_activity_type(type));
    EXPECT_EQ(act(8).Evaluate(r), type == 3 || type == 4) << type;
    EXPECT_EQ(act(6).Evaluate(r), type == 2) << type;
    EXPECT_EQ(act(12).Evaluate(r), type == 0 || type == 1 || type == 5) << type;
  }
  // The WBS and project lists test the node type.
  fake_row project_node(catalog_kind::project);
  project_node.set(u"node_type", s_node_type(1));
  EXPECT_TRUE(lists_.project[0]->Evaluate(project_node));
  EXPECT_FALSE(lists_.project[1]->Evaluate(project_node));
  fake_row wbs_node(catalog_kind::wbs);
  wbs_node.set(u"node_type", s_node_type(0));
  EXPECT_FALSE(lists_.wbs[0]->Evaluate(wbs_node));
  EXPECT_TRUE(lists_.wbs[1]->Evaluate(wbs_node));

  // "Negative Float" selects the activities whose total float is below zero,
  // whatever calendar factors their float carries.
  static const period_factors ten_hour_days{10.0, 50.0, 215.0, 2500.0};
  s_dur minus_one_day(-8.0);
  minus_one_day.factors = &ten_hour_days;
  // An empty duration is read from an empty cell; a row may lack the field.
  const s_dur floats[] = {minus_one_day, s_dur(0.0), s_dur(16.0), s_dur()};
  for (const s_dur& total_float : floats) {
    fake_row r;
    r.set(u"total_float_hr_cnt", total_float);
    EXPECT_EQ(act(9).Evaluate(r), &total_float == &floats[0]) << total_float.hours;
  }
  EXPECT_FALSE(act(9).Evaluate(fake_row()));

  // The inequality entries: longest path and not completed, not What-if, not
  // critical.
  for (auto [driving, status, selected] : {std::array{1, 1, 1}, {1, 0, 0}, {0, 2, 0}}) {
    fake_row r;
    r.set(u"driving_path_flag", s_bool(driving)).set(u"status_code", s_activity_status(status));
    EXPECT_EQ(act(7).Evaluate(r), bool(selected)) << driving << " " << status;
  }
  for (int32_t project_status : {0, 4}) {
    fake_row r;
    r.set(u"projwbs\\7Cstatus_code", s_project_status(project_status));
    EXPECT_EQ(act(10).Evaluate(r), project_status != 4) << project_status;  // 4: What-if
  }
  for (bool critical : {true, false}) {
    fake_row r;
    r.set(u"critical_flag", s_bool(critical));
    EXPECT_EQ(act(2).Evaluate(r), critical);
    EXPECT_EQ(act(11).Evaluate(r), !critical);
  }
}

TEST_F(Filters, GroupEntryAndBarListEvaluationRules) {
  fake_row row;
  row.set(u"status_code", s_activity_status(1));
  const uint32_t status = catalog::find_field(catalog_kind::activity, u"status_code")->field_id;

  FilterGroup empty_or(filter_modes::any), empty_and(filter_modes::all), empty_other(7);
  EXPECT_FALSE(empty_or.Evaluate(row));
  EXPECT_TRUE(empty_and.Evaluate(row));
  EXPECT_TRUE(empty_other.Evaluate(row));  // any mode but 1 is AND

  // An entry without values, or with an operator it does not know, holds.
  FilterEntry no_values(status, filter_ops::equal);
  EXPECT_TRUE(no_values.Evaluate(row));
  FilterEntry unknown_op(status, 9);
  unknown_op.add_value(s_activity_status(0));
  EXPECT_TRUE(unknown_op.Evaluate(row));

  // Only the first value is compared.
  FilterEntry first_only(status, filter_ops::equal);
  first_only.add_value(s_activity_status(0));
  first_only.add_value(s_activity_status(1));
  EXPECT_FALSE(first_only.Evaluate(row));

  // Every entry is evaluated, even once the answer is known.
  FilterGroup any(filter_modes::any);
  for (int32_t code : {1, 0, 2}) {
    auto e = std::make_unique<FilterEntry>(status, filter_ops::equal);
    e->add_value(s_activity_status(code));
    any.add(std::move(e));
  }
  row.asked = 0;
  EXPECT_TRUE(any.Evaluate(row));
  EXPECT_EQ(row.asked, 3);

  // A value of another type never compares equal (a text "In Progress" is not a status).
  FilterEntry wrong_type(status, filter_ops::equal);
  wrong_type.add_value(s_string(u"In Progress"));
  EXPECT_FALSE(wrong_type.Evaluate(row));

  // Bar filter lists combine filters (the row is in progress).
  BarFilterList or_list{true, {&act(1), &act(5)}};
  BarFilterList and_list{false, {&act(1), &act(5)}};
  EXPECT_TRUE(or_list.accepts(row));
  EXPECT_FALSE(and_list.accepts(row));
  const BarFilterList no_or{true, {}}, no_and{false, {}};
  EXPECT_FALSE(no_or.accepts(row));
  EXPECT_TRUE(no_and.accepts(row));
}

}  // namespace
