// Finding catalog entries: by id over all catalogs, by persistent id, by key
// within one catalog, by caption; registration of document fields; stable
// entries; availability marks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/field_catalog.h"

namespace tessel::catalog {
namespace {

class CatalogLookup : public ::testing::Test {
 protected:
  void SetUp() override { build_catalogs(); }
  void TearDown() override { reset_catalogs(); }

  static field_entry& add(catalog_kind kind, uint32_t id, std::u16string key,
                          std::u16string caption, bool available = false,
                          uint32_t persistent_id = 0) {
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

TEST_F(CatalogLookup, ByIdAndKeyAcrossCatalogs) {
  EXPECT_EQ(find_field(213)->catalog, catalog_kind::activity);
  EXPECT_EQ(find_field(214)->catalog, catalog_kind::project);
  EXPECT_EQ(find_field(5), nullptr);
  EXPECT_EQ(find_field(599), nullptr);
  EXPECT_EQ(catalogs().find_persistent_id(570)->catalog, catalog_kind::predecessor);

  // act_start_date is a field of three catalogs, each with its own id.
  EXPECT_EQ(find_field(catalog_kind::activity, u"act_start_date")->field_id, 54u);
  EXPECT_EQ(find_field(catalog_kind::project, u"act_start_date")->field_id, 259u);
  EXPECT_EQ(find_field(catalog_kind::wbs, u"act_start_date")->field_id, 418u);
  EXPECT_EQ(find_field(catalog_kind::resource, u"act_start_date"), nullptr);

  // Only among available entries.
  EXPECT_NE(find_field(catalog_kind::activity, u"act_work_cost"), nullptr);
  EXPECT_EQ(find_field(catalog_kind::activity, u"act_work_cost", true), nullptr);
  EXPECT_EQ(find_field(catalog_kind::activity, u"task_code", true)->field_id, 130u);

  // By caption in the activity catalog: exact, first match.
  EXPECT_EQ(catalogs().find_activity_caption(u"Activity Name")->key, u"task_name");
  EXPECT_EQ(catalogs().find_activity_caption(u"activity name"), nullptr);
  EXPECT_EQ(catalogs().find_activity_caption(u"Resource ID"), nullptr);  // resource catalog only
}

TEST_F(CatalogLookup, DocumentFieldsAndDuplicates) {
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
  EXPECT_EQ(find_field(130)->catalog, catalog_kind::activity);
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
}

TEST_F(CatalogLookup, EntriesStayPutAndMarksHold) {
  const field_entry* first = &catalogs()[catalog_kind::activity].entries().front();
  field_entry* finish = find_field(70);
  for (uint32_t i = 1; i <= 20000; ++i) {
    add(catalog_kind::activity, user_field_base + i, u"user_field_" + std::u16string(1, u'a'),
        u"U");
  }
  EXPECT_EQ(&catalogs()[catalog_kind::activity].entries().front(), first);
  EXPECT_EQ(find_field(70), finish);
  EXPECT_EQ(find_field(catalog_kind::activity, u"end_date"), finish);
  EXPECT_EQ(find_field(user_field_base + 20000)->caption, u"U");

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
  EXPECT_EQ(find_field(70)->key, u"end_date");
  EXPECT_TRUE(find_field(70)->available);
  EXPECT_FALSE(find_field(catalog_kind::activity, u"act_work_cost")->available);
}

}  // namespace
}  // namespace tessel::catalog
