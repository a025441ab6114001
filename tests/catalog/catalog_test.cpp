// The field catalogs: the built-in catalogs' shape, the ids other code
// relies on, value classes, captions and workbook columns; finding entries by
// id, persistent id, key and caption; registering document fields; stable
// entries and availability marks.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalog/field_catalog.h"
#include "test_support.h"

namespace tessel::catalog {
namespace {

class CatalogBuiltin : public ::testing::Test {
 protected:
  void SetUp() override { build_catalogs(); }
  void TearDown() override { reset_catalogs(); }
  static const field_catalog& cat(catalog_kind k) { return catalogs()[k]; }
  // The entry of a key or id; a blank one, and a failure, when there is none.
  static const field_entry& at(const field_entry* e) {
    static const field_entry none{};
    EXPECT_NE(e, nullptr);
    return e ? *e : none;
  }
  static const field_entry& at(catalog_kind k, std::u16string_view key) { return at(find_field(k, key)); }
  static const field_entry& at(uint32_t id) { return at(find_field(id)); }
};

class CatalogLookup : public CatalogBuiltin {
 protected:
  static field_entry& add(catalog_kind kind, uint32_t id, std::u16string key, std::u16string caption,
                          bool available = false, uint32_t persistent_id = 0) {
    field_spec s;
    s.caption = std::move(caption);
    s.field_id = id;
    s.persistent_id = persistent_id ? persistent_id : id;
    s.value_type = value_types::text;
    s.entity = entities::activity;
    s.available = available;
    s.key = std::move(key);
    return catalogs().register_field(kind, std::move(s));
  }
};

constexpr catalog_kind kAll[] = {catalog_kind::activity, catalog_kind::project,
                                 catalog_kind::wbs,      catalog_kind::resource,
                                 catalog_kind::predecessor, catalog_kind::successor};

TEST_F(CatalogBuiltin, EntriesKeepTheRulesTheirReadersRelyOn) {
  // Ids run consecutively over the six catalogs, 6 to 598, and each entry
  // knows its catalog and entity; keys and captions are unique within a
  // catalog, as lookups by key and the column chooser's captions need.
  const uint32_t entity_of[] = {0, 1, 2, 3, 4, 4};
  uint32_t next_id = 6;
  for (std::size_t k = 0; k < 6; ++k) {
    std::set<std::u16string> keys, captions;
    for (const field_entry& e : cat(kAll[k]).entries()) {
      EXPECT_EQ(e.field_id, next_id++);
      EXPECT_EQ(e.persistent_id, e.field_id);
      EXPECT_EQ(e.entity, entity_of[k]);
      EXPECT_EQ(e.catalog, kAll[k]);
      EXPECT_TRUE(!e.key.empty() && keys.insert(e.key).second) << e.field_id;
      EXPECT_TRUE(!e.caption.empty() && captions.insert(e.caption).second) << e.field_id;
      EXPECT_EQ(find_field(kAll[k], e.key), &e) << e.field_id;
      // A start or finish date spans, a duration measures time, a summed
      // value is a count or a quantity.
      const std::u16string_view key = e.key;
      const uint32_t c = e.value_class, t = e.value_type;
      const bool date = t == value_types::date;
      EXPECT_TRUE(c == value_classes::plain ||
                  (c == value_classes::start_date && date && key.find(u"start") != key.npos) ||
                  (c == value_classes::finish_date && date && (key.find(u"end") != key.npos || key == u"act_progress_date")) ||
                  (c == value_classes::summable && (t == value_types::integer || t == value_types::units)) ||
                  (c == value_classes::duration && t == value_types::duration)) << e.field_id;
    }
  }
  EXPECT_EQ(next_id, 599u);
  EXPECT_EQ(catalogs().size(), 593u);
  // Rebuilding starts from empty lists: no field is registered twice.
  build_catalogs();
  EXPECT_EQ(catalogs().size(), 593u);
}

TEST_F(CatalogBuiltin, IdsOtherCodeReliesOnAndAvailability) {
  // The fields offered before a file says otherwise; nothing else shows a
  // flipped mark.
  const std::size_t available[] = {72, 47, 30, 21, 17, 17};
  for (std::size_t k = 0; k < 6; ++k) {
    std::size_t n = 0;
    for (const field_entry& e : cat(kAll[k]).entries()) n += e.available;
    EXPECT_EQ(n, available[k]) << catalog_name(kAll[k]);
  }
  // Ids other code and the layout files rely on, and their catalogs.
  for (const auto& [id, key] : {std::pair{54u, u"act_start_date"}, {130u, u"task_code"}, {148u, u"project\\7Cproj_short_name"},
                                {213u, u"[caption]"}, {328u, u"project\\7Cproj_short_name"}, {374u, u"wbs_concat_name"},
                                {533u, u"rsrc_short_name"}}) {
    EXPECT_EQ(at(id).key, key) << id;
  }
  EXPECT_EQ(at(213).catalog, catalog_kind::activity);
  EXPECT_EQ(at(214).catalog, catalog_kind::project);
  EXPECT_EQ(at(374).catalog, catalog_kind::wbs);

  // Value classes the rule above leaves open.
  using A = catalog_kind;
  for (const auto& [k, key, c] : {std::tuple{A::activity, u"act_progress_date", value_classes::finish_date},
                                  {A::activity, u"cstr_date", value_classes::plain},
                                  {A::project, u"total_float_hr_cnt", value_classes::duration},
                                  {A::wbs, u"total_float_hr_cnt", value_classes::plain},
                                  {A::wbs, u"reend_date", value_classes::finish_date},
                                  {A::activity, u"var_primary_equip_qty", value_classes::summable}})
    EXPECT_EQ(at(k, key).value_class, c) << test_support::narrow(key);
}

TEST_F(CatalogBuiltin, KeysCaptionsWorkbookColumnsAndTheDumpsList) {
  // Captions as the exports write them, odd spellings included.
  using A = catalog_kind;
  for (const auto& [k, key, caption] :
       {std::tuple{A::successor, u"task\\7Cend_datee", u"Finish"}, {A::activity, u"primary_base_work_qty", u"BL1LaborUnits"},
        {A::project, u"bac_work", u"Budget At Completion 8BAC9 - Labor Units"},
        {A::activity, u"bac_work", u"Budget At Completion BAC Labor Units"},
        {A::resource, u"def_qty_per_hr", u"Default Units / Time"},
        {A::predecessor, u"predtask.projwbs\\7Cwbs_full_name", u"WBS"}})
    EXPECT_EQ(at(k, key).caption, caption) << test_support::narrow(key);
  // Keys compare exactly.
  EXPECT_EQ(find_field(catalog_kind::activity, u"Task_code"), nullptr);
  EXPECT_EQ(find_field(catalog_kind::activity, u"project|proj_short_name"), nullptr);

  // Workbook columns: none, the key itself, or the key led by "_" with "|"
  // written "__"; four fields have headers of their own.
  const std::map<uint32_t, std::u16string> own = {
      {150, u"_status_code"}, {328, u"project_short_name"}, {374, u"wbs_id"}, {472, u"projwbs__status_code"}};
  const std::size_t none[] = {51, 145, 119, 5, 28, 28};
  for (std::size_t k = 0; k < 6; ++k) {
    std::size_t n_none = 0;
    for (const field_entry& e : cat(kAll[k]).entries()) {
      n_none += e.workbook_column.empty();
      if (e.workbook_column.empty() || e.workbook_column == e.key) continue;
      std::u16string led = u"_" + e.key;
      for (size_t at; (at = led.find(u"\\7C")) != std::u16string::npos;) led.replace(at, 3, u"__");
      EXPECT_EQ(e.workbook_column, own.count(e.field_id) ? own.at(e.field_id) : led) << e.field_id;
    }
    EXPECT_EQ(n_none, none[k]) << catalog_name(kAll[k]);
  }
  EXPECT_EQ(at(catalog_kind::activity, u"clndr_id").workbook_column, u"");
  EXPECT_EQ(at(catalog_kind::activity, u"act_work_cost").workbook_column, u"act_work_cost");

  // tessel-dump lists the catalogs.
  int status = -1;
  const std::string out = test_support::run_dump("--catalog", &status);
  EXPECT_EQ(status, 0);
  std::size_t lines = 0;
  for (char ch : out) lines += ch == '\n';
  EXPECT_EQ(lines, catalogs().size() + 1);
  EXPECT_EQ(out.rfind("catalog\tfield_id\tkey\tcaption\tvalue_type\tvalue_class\tavailable\t"
                      "workbook_column\n",
                      0),
            0u);
  EXPECT_NE(out.find("\nactivity\t148\tproject\\7Cproj_short_name\tProject ID\t3\t0\t1\t"
                     "_project__proj_short_name\n"),
            std::string::npos);
  EXPECT_NE(out.find("\nsuccessor\t598\t"), std::string::npos);
}

TEST_F(CatalogLookup, FindsRegistersAndKeepsEntries) {
  EXPECT_EQ(find_field(5), nullptr);
  EXPECT_EQ(find_field(599), nullptr);
  EXPECT_EQ(catalogs().find_persistent_id(570)->catalog, catalog_kind::predecessor);

  // act_start_date is a field of three catalogs, each with its own id.
  EXPECT_EQ(at(catalog_kind::activity, u"act_start_date").field_id, 54u);
  EXPECT_EQ(at(catalog_kind::project, u"act_start_date").field_id, 259u);
  EXPECT_EQ(at(catalog_kind::wbs, u"act_start_date").field_id, 418u);
  EXPECT_EQ(find_field(catalog_kind::resource, u"act_start_date"), nullptr);

  // Only among available entries.
  EXPECT_NE(find_field(catalog_kind::activity, u"act_work_cost"), nullptr);
  EXPECT_EQ(find_field(catalog_kind::activity, u"act_work_cost", true), nullptr);
  EXPECT_EQ(at(find_field(catalog_kind::activity, u"task_code", true)).field_id, 130u);

  // By caption in the activity catalog: exact, first match.
  ASSERT_NE(catalogs().find_activity_caption(u"Activity Name"), nullptr);
  EXPECT_EQ(catalogs().find_activity_caption(u"Activity Name")->key, u"task_name");
  EXPECT_EQ(catalogs().find_activity_caption(u"activity name"), nullptr);
  EXPECT_EQ(catalogs().find_activity_caption(u"Resource ID"), nullptr);  // resource catalog only

  // Document fields, and registering twice.
  // A user-defined text field with type id 12 and an activity code type 7.
  field_entry& udf = add(catalog_kind::activity, user_field_base + 12, u"user_field_12",
                         u"Reviewer");
  field_entry& code = add(catalog_kind::activity, activity_code_base + 7, u"actv_code_area_id",
                          u"Area", true);
  EXPECT_EQ(find_field(100012), &udf);
  EXPECT_EQ(find_field(catalog_kind::activity, u"user_field_12"), &udf);
  EXPECT_EQ(find_field(500007), &code);
  EXPECT_EQ(catalogs().find_activity_caption(u"Area"), &code);
  EXPECT_EQ(catalogs()[catalog_kind::activity].size(), 210u);

  // A persistent id of its own is found as such, not as a field id.
  field_entry& res = add(catalog_kind::resource, 700003, u"res_code_skill_id", u"Skill", false,
                         77777);
  EXPECT_EQ(catalogs().find_persistent_id(77777), &res);
  EXPECT_EQ(catalogs().find_persistent_id(700003), nullptr);
  EXPECT_EQ(find_field(77777), nullptr);

  // A second registration of a key, caption or id: the first keeps winning.
  field_entry& again = add(catalog_kind::activity, 130, u"task_code", u"Activity ID", true);
  EXPECT_EQ(at(130).catalog, catalog_kind::activity);
  EXPECT_NE(find_field(130), &again);
  EXPECT_EQ(find_field(catalog_kind::activity, u"task_code"), find_field(130));
  EXPECT_NE(catalogs().find_activity_caption(u"Activity ID"), &again);

  // ... but an earlier unavailable entry gives way among available entries.
  field_entry& dup = add(catalog_kind::activity, 100013, u"user_field_12", u"Reviewer 2", true);
  EXPECT_EQ(find_field(catalog_kind::activity, u"user_field_12"), &udf);
  EXPECT_EQ(find_field(catalog_kind::activity, u"user_field_12", true), &dup);

  // The search by id meets the earlier catalog first, whatever the order of
  // registration.
  field_entry& late = add(catalog_kind::successor, 123456, u"x", u"X");
  EXPECT_EQ(find_field(123456), &late);
  field_entry& early = add(catalog_kind::project, 123456, u"x", u"X");
  EXPECT_EQ(find_field(123456), &early);
  add(catalog_kind::wbs, 123456, u"x", u"X");
  EXPECT_EQ(find_field(123456), &early);
  EXPECT_EQ(find_field(catalog_kind::successor, u"x"), &late);

  // Entries stay put as the catalogs grow, and marks hold.
  const field_entry* first = &catalogs()[catalog_kind::activity].entries().front();
  field_entry* finish = find_field(70);
  for (uint32_t i = 1; i <= 20000; ++i) {
    add(catalog_kind::activity, user_field_base + i, u"user_field_" + std::u16string(1, u'a'),
        u"U");
  }
  EXPECT_EQ(&catalogs()[catalog_kind::activity].entries().front(), first);
  EXPECT_EQ(find_field(70), finish);
  EXPECT_EQ(find_field(catalog_kind::activity, u"end_date"), finish);
  EXPECT_EQ(at(user_field_base + 20000).caption, u"U");

  field_entry* cost = find_field(catalog_kind::activity, u"act_work_cost");
  catalog_set::mark_available(*cost);
  EXPECT_EQ(find_field(catalog_kind::activity, u"act_work_cost", true), cost);
  catalogs().clear_available();
  EXPECT_EQ(find_field(catalog_kind::activity, u"task_code", true), nullptr);
  EXPECT_FALSE(cost->available);

  reset_catalogs();
  EXPECT_EQ(catalogs().size(), 0u);
  EXPECT_EQ(find_field(70), nullptr);
  EXPECT_EQ(find_field(catalog_kind::activity, u"end_date"), nullptr);
  build_catalogs();
  EXPECT_EQ(at(70).key, u"end_date");
  EXPECT_TRUE(at(70).available);
  EXPECT_FALSE(at(catalog_kind::activity, u"act_work_cost").available);
}

}  // namespace
}  // namespace tessel::catalog
