// A record's value for a catalog field, on a small schedule linked by hand.
#include <gtest/gtest.h>

#include <string>

#include "catalog/field_catalog.h"
#include "document/field_lookup.h"
#include "document/records/record_lists.h"
#include "test_support.h"

namespace tessel::document {
namespace {

using catalog::catalog_kind;

constexpr auto id_of = test_support::field_id;

class FieldLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    catalog::build_catalogs();
    cal = &doc.calendar.emplace_back();
    cal->clndr_name.value = u"Ten-hour days";
    cal->calendar.factors.day = 10.0;

    obs = &doc.obs.emplace_back();
    obs->obs_name.value = u"Site manager";

    proj = &doc.project.emplace_back();
    proj->proj_id.value = 1;
    proj->proj_short_name.value = u"P1";
    proj->fcst_start_date = s_date::from_time(86400);
    proj->calendar = cal;

    top = &doc.projwbs.emplace_back();
    top->wbs_id.value = 10;
    top->wbs_name.value = u"Project One";
    top->status_code.code = 2;
    top->obs = obs;
    top->project = proj;
    proj->top_wbs = top;

    area = &doc.projwbs.emplace_back();
    area->wbs_id.value = 11;
    area->wbs_name.value = u"Area A";
    area->wbs_path.value = u"P1.A";
    area->status_code.code = 1;
    area->anticip_end_date = s_date::from_time(86400);
    area->obs = obs;
    area->project = proj;

    t1 = &doc.task.emplace_back();
    t1->task_id.value = 100;
    t1->task_code.value = u"A100";
    t1->primary_rsrc_text.value = u"CRANE.Tower crane";
    t1->remain_drtn_hr_cnt = s_dur(20.0);
    t1->remain_work_qty = s_unit(5.0, s_unit::work);
    t1->project = proj;
    t1->projwbs = area;
    t1->calendar = cal;

    t2 = &doc.task.emplace_back();  // linked to nothing
    t2->task_id.value = 101;
    t2->task_code.value = u"A101";
    t2->remain_drtn_hr_cnt = s_dur(8.0);

    rel = &doc.taskpred.emplace_back();
    rel->lag_hr_cnt = s_dur(4.0);
    rel->predtask = t1;
    rel->task = t2;

    res = &doc.rsrc.emplace_back();
    res->rsrc_id.value = 7;
    res->rsrc_short_name.value = u"CRANE";
    res->rsrc_name.value = u"Tower crane";
    res->role_id.value = 3;
    res->calendar = cal;

    // User fields of activity 100: text 12, money 13, integer 14, and 15
    // whose type the document does not have.
    add_udf(12, 2, 100, u"Jane", 0);
    add_udf(12, 2, 100, u"Later value", 0);  // the first one wins
    add_udf(13, 4, 100, u"", 12.5);
    add_udf(14, 5, 100, u"", 7.9);
    UDFVALUE& loose = doc.udfvalue.emplace_back();
    loose.udf_type_id.value = 15;
    loose.fk_id.value = 100;
    loose.udf_text.value = u"untied";
    add_udf(16, 2, 1, u"project text", 0);  // for project 1

    ACTVCODE& north = doc.actvcode.emplace_back();
    north.short_name.value = u"NORTH";
    ACTVCODE& south = doc.actvcode.emplace_back();
    south.short_name.value = u"SOUTH";
    add_taskactv(100, 7, &north);
    add_taskactv(100, 7, &south);  // a second assignment of the same type: the first wins
    add_taskactv(100, 8, nullptr);  // assigned, but to a value the document lacks

    PCATVAL& pc = doc.pcatval.emplace_back();
    pc.proj_catg_short_name.value = u"CIVIL";
    PROJPCAT& pa = doc.projpcat.emplace_back();
    pa.proj_id.value = 1;
    pa.proj_catg_type_id.value = 3;
    pa.code = &pc;

    RCATVAL& rc = doc.rcatval.emplace_back();
    rc.rsrc_catg_short_name.value = u"HEAVY";
    RSRCRCAT& ra = doc.rsrcrcat.emplace_back();
    ra.rsrc_id.value = 7;
    ra.rsrc_catg_type_id.value = 2;
    ra.code = &rc;
  }
  void TearDown() override { catalog::reset_catalogs(); }

  void add_udf(uint32_t type_id, int32_t logical, uint32_t fk, std::u16string text, double num) {
    UDFTYPE* type = nullptr;
    for (UDFTYPE& t : doc.udftype)
      if (t.udf_type_id.value == type_id) type = &t;
    if (!type) {
      type = &doc.udftype.emplace_back();
      type->udf_type_id.value = type_id;
      type->logical_data_type.code = logical;
    }
    UDFVALUE& v = doc.udfvalue.emplace_back();
    v.udf_type_id.value = type_id;
    v.fk_id.value = fk;
    v.udf_text.value = std::move(text);
    v.udf_number = s_double(num);
    v.type = type;
  }
  void add_taskactv(uint32_t task, uint32_t type, ACTVCODE* code) {
    TASKACTV& a = doc.taskactv.emplace_back();
    a.task_id.value = task;
    a.actv_code_type_id.value = type;
    a.code = code;
  }

  static bool empty(const s_val& v) { return &v == &shared_empty_value(); }

  record_lists doc;
  CALENDAR* cal = nullptr;
  OBS* obs = nullptr;
  PROJECT* proj = nullptr;
  PROJWBS* top = nullptr;
  PROJWBS* area = nullptr;
  TASK* t1 = nullptr;
  TASK* t2 = nullptr;
  TASKPRED* rel = nullptr;
  RSRC* res = nullptr;
};

TEST_F(FieldLookup, ActivityMembersLinksUserFieldsAndCodes) {
  catalog::field_spec s;
  s.caption = u"Reviewer";
  s.field_id = s.persistent_id = 100012;
  s.key = u"user_field_12";
  catalog::catalogs().register_field(catalog_kind::activity, s);
  field_lookup look(doc);
  EXPECT_EQ(&look.value(*t1, 130), &t1->task_code);  // the record's own member
  EXPECT_EQ(look.value(*t1, 148).text(), u"P1");     // project\7Cproj_short_name
  EXPECT_EQ(look.value(*t1, 149).text(), u"Project One");  // the project's own WBS node
  EXPECT_EQ(&look.value(*t1, 150), &area->status_code);    // projwbs\7Cstatus_code
  EXPECT_EQ(look.value(*t1, 152).text(), u"P1.A");
  EXPECT_EQ(look.value(*t1, 154).text(), u"Area A");
  EXPECT_EQ(look.value(*t1, 155).text(), u"P1.A");
  EXPECT_EQ(look.value(*t1, 138).text(), u"Ten-hour days");
  EXPECT_EQ(look.value(*t1, 147).text(), u"CRANE.Tower crane");

  // Fields that answer nothing for activities, even where the member exists.
  EXPECT_TRUE(empty(look.value(*t1, id_of(catalog_kind::activity, u"projwbs\\7Canticip_end_date"))));
  EXPECT_TRUE(empty(look.value(*t1, 213)));
  // Without links, linked fields are empty; ids of other catalogs answer nothing.
  for (uint32_t id : {138u, 148u, 149u, 150u, 152u, 154u, 155u}) EXPECT_TRUE(empty(look.value(*t2, id))) << id;
  EXPECT_EQ(look.value(*t2, 130).text(), u"A101");
  EXPECT_TRUE(empty(look.value(*t1, 328)));
  EXPECT_TRUE(empty(look.value(*t1, 0)));
  EXPECT_TRUE(empty(look.value(*t1, 99999)));

  // Durations and work show in the activity's calendar; without one, in the defaults.
  const s_val& d = look.value(*t1, id_of(catalog_kind::activity, u"remain_drtn_hr_cnt"));
  ASSERT_EQ(&d, &t1->remain_drtn_hr_cnt);
  EXPECT_EQ(*t1->remain_drtn_hr_cnt.factors, cal->calendar.factors);
  look.value(*t1, id_of(catalog_kind::activity, u"remain_work_qty"));
  EXPECT_EQ(*t1->remain_work_qty.factors, cal->calendar.factors);
  look.value(*t2, id_of(catalog_kind::activity, u"remain_drtn_hr_cnt"));
  EXPECT_EQ(t2->remain_drtn_hr_cnt.factors, default_period_factors());

  // User fields and codes.
  EXPECT_EQ(look.value(*t1, 100012).text(), u"Jane");
  EXPECT_TRUE(empty(look.value(*t2, 100012)));
  const s_val& money = look.value(*t1, 100013);
  EXPECT_EQ(money.type(), val_type::cost);
  EXPECT_DOUBLE_EQ(money.as_double(), 12.5);
  const s_val& whole = look.value(*t1, 100014);
  EXPECT_EQ(whole.type(), val_type::integer);
  EXPECT_EQ(whole.as_ulong(), 7u);
  EXPECT_TRUE(empty(look.value(*t1, 100015)));  // its type is missing
  EXPECT_EQ(look.value(*proj, 100016).text(), u"project text");
  EXPECT_TRUE(empty(look.value(*t1, 100016)));  // another record's id

  EXPECT_EQ(look.value(*t1, 500007).text(), u"NORTH");
  EXPECT_TRUE(empty(look.value(*t1, 500008)));
  EXPECT_TRUE(empty(look.value(*t2, 500007)));
  EXPECT_EQ(look.value(*proj, 600003).text(), u"CIVIL");
  EXPECT_TRUE(empty(look.value(*proj, 500003)));
  EXPECT_EQ(look.value(*res, 700002).text(), u"HEAVY");
  EXPECT_TRUE(empty(look.value(*res, 600002)));
}

TEST_F(FieldLookup, WbsProjectResourceAndRelationships) {
  field_lookup look(doc);
  EXPECT_EQ(look.value(*area, 374).text(), u"P1.A");  // the WBS code
  EXPECT_EQ(&look.value(*area, 510), &area->wbs_name);
  EXPECT_EQ(&look.value(*area, 472), &area->status_code);
  EXPECT_EQ(look.value(*area, 473).text(), u"Site manager");
  EXPECT_EQ(look.value(*area, id_of(catalog_kind::wbs, u"anticip_end_date")).as_time(), 86400);
  EXPECT_TRUE(empty(look.value(*area, 511)));  // [caption]

  EXPECT_EQ(&look.value(*proj, 328), &proj->proj_short_name);
  EXPECT_EQ(look.value(*proj, 330).text(), u"Project One");
  EXPECT_EQ(&look.value(*proj, 331), &top->status_code);  // from the project's own node
  EXPECT_EQ(look.value(*proj, 335).text(), u"Site manager");
  EXPECT_TRUE(empty(look.value(*proj, id_of(catalog_kind::project, u"project\\7Cfcst_start_date"))));
  const s_val& drtn = look.value(*proj, id_of(catalog_kind::project, u"remain_drtn_hr_cnt"));
  ASSERT_EQ(&drtn, &proj->remain_drtn_hr_cnt);
  EXPECT_EQ(*proj->remain_drtn_hr_cnt.factors, cal->calendar.factors);

  EXPECT_EQ(&look.value(*res, 533), &res->rsrc_short_name);
  EXPECT_EQ(&look.value(*res, 534), &res->rsrc_name);
  EXPECT_EQ(look.value(*res, id_of(catalog_kind::resource, u"clndr_id")).text(), u"Ten-hour days");
  EXPECT_TRUE(empty(look.value(*res, id_of(catalog_kind::resource, u"role_id"))));

  // Relationships.
  auto pred = [&](std::u16string_view key) { return id_of(catalog_kind::predecessor, key); };
  auto succ = [&](std::u16string_view key) { return id_of(catalog_kind::successor, key); };
  EXPECT_EQ(look.predecessor_value(*rel, pred(u"predtask\\7Ctask_code")).text(), u"A100");
  EXPECT_EQ(look.predecessor_value(*rel, pred(u"predproject\\7Cproj_short_name")).text(), u"P1");
  EXPECT_EQ(look.predecessor_value(*rel, pred(u"predtask.projwbs\\7Cwbs_full_name")).text(), u"P1.A");
  EXPECT_EQ(look.predecessor_value(*rel, pred(u"predtask\\7Crsrc_id")).text(), u"CRANE.Tower crane");
  EXPECT_EQ(&look.predecessor_value(*rel, pred(u"lag_hr_cnt")), &rel->lag_hr_cnt);
  EXPECT_TRUE(empty(look.predecessor_value(*rel, pred(u"critical_flag"))));
  // The predecessor's remaining duration shows in its calendar.
  look.predecessor_value(*rel, pred(u"predtask\\7Cremain_drtn_hr_cnt"));
  EXPECT_EQ(*t1->remain_drtn_hr_cnt.factors, cal->calendar.factors);

  EXPECT_EQ(look.successor_value(*rel, succ(u"task\\7Ctask_code")).text(), u"A101");
  EXPECT_TRUE(empty(look.successor_value(*rel, succ(u"project\\7Cproj_short_name"))));
  EXPECT_TRUE(empty(look.successor_value(*rel, succ(u"rtf"))));
  // A predecessor-catalog id asked through the successor catalog answers nothing.
  EXPECT_TRUE(empty(look.successor_value(*rel, pred(u"predtask\\7Ctask_code"))));
  TASKPRED loose;  // linked to nothing
  EXPECT_TRUE(empty(look.predecessor_value(loose, pred(u"predtask\\7Ctask_code"))));
}

}  // namespace
}  // namespace tessel::document
