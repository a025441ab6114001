#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "catalog/field_catalog.h"
#include "document/field_lookup.h"
#include "document/records/record_lists.h"
#include "document/table_loaders.h"
#include "test_support.h"

using namespace tessel;
using namespace tessel::document;

namespace {

constexpr auto xer = test_support::xer_joined;

// Parses the text and hands every table to its loader; answers how many
// tables were loaded.
int load(record_lists& lists, const std::string& text) {
  std::unique_ptr<xer_doc> doc = xer_parser::parse_bytes(text);
  if (!doc) return -1;
  int n = 0;
  for (const auto& t : doc->tables()) n += load_table(lists, *t) ? 1 : 0;
  return n;
}

using test_support::at;

}  // namespace

TEST(RecordsLoadTest, ColumnsAreFoundByNameRowsTakenAsTheyStand) {
  const std::string usual = xer({"%T\tTASK",
                                 "%F\ttask_id\tproj_id\ttask_code\ttask_name\tstatus_code\tact_start_date\tphys_complete_pct",
                                 "%R\t11\t7\tA100\tExcavate\tTK_Active\t2012-01-05 08:00\t37.5",
                                 "%R\t12\t7\tA110\tPour\tTK_Complete\t2012-02-01 07:30\t100"});
  const std::string shuffled = xer({"%T\tTASK",
                                    "%F\tstatus_code\tphys_complete_pct\tunknown_col\ttask_name\tact_start_date\ttask_id\ttask_code\tproj_id",
                                    "%R\tTK_Active\t37.5\tzzz\tExcavate\t2012-01-05 08:00\t11\tA100\t7",
                                    "%R\tTK_Complete\t100\tzzz\tPour\t2012-02-01 07:30\t12\tA110\t7"});
  record_lists a, b;
  ASSERT_EQ(load(a, usual), 1);
  ASSERT_EQ(load(b, shuffled), 1);
  ASSERT_EQ(a.task.size(), 2u);
  ASSERT_EQ(b.task.size(), 2u);
  // Every member, as shown and as a number, is the same in both.
  auto record_text = [](TASK& t) {
    std::string s;
    for (const member_desc& m : TASK::members()) {
      const s_val& v = m.value(&t);
      const std::u16string shown = v.text();
      s += std::string(shown.begin(), shown.end()) + "=" + std::to_string(v.as_double()) + "/" +
           std::to_string(v.as_time()) + "|";
    }
    return s;
  };
  for (size_t i = 0; i < 2; ++i) EXPECT_EQ(record_text(a.task[i]), record_text(b.task[i])) << i;
  // The fraction of a percentage is dropped; a completed activity without
  // an actual-finish column has no actual finish.
  const TASK &t = b.task[0], &done = b.task[1];
  EXPECT_EQ(t.task_code.value + u" " + done.status_code.text(), u"A100 Completed");
  EXPECT_EQ((std::array<double, 7>{double(t.task_id.value), double(t.status_code.code), double(t.act_start_date.time),
                                   double(t.act_start_date.empty), double(t.phys_complete_pct.value),
                                   double(done.act_end_date.has_date()), double(done.act_end_date.empty)}),
            (std::array<double, 7>{11, 1, double(at(2012, 1, 5, 8, 0)), 0, 37, 0, 1}));

  // Rows and columns are taken as they stand.
  record_lists lists;
  ASSERT_EQ(load(lists, xer({"%T\tTASK", "%F\ttask_id\ttask_name\ttask_code\ttask_name",
                             "%R\t1\tfirst\tA1\tsecond",   // the later column wins
                             "%R\t1\tonly\tA2",            // too short to reach it: the earlier stays
                             "%R\t3\tx\tA3\t\textra",      // an empty later cell wins too; extras skipped
                             "%T\tTASKPRED", "%F\ttask_pred_id\ttask_id\tpred_task_id\tpred_type\tlag_hr_cnt",
                             "%R\t9\t1\t999\tPR_SS\t-8",  // names an activity that does not exist
                             "%T\tTASK", "%F\ttask_code\ttask_id", "%R\tB1\t4"})),
            3);
  // Rows are never merged: equal ids give two records; a second TASK table
  // adds to the same list.
  std::u16string tasks;
  for (const TASK& t : lists.task)
    tasks += test_support::u16(std::to_string(t.task_id.value)) + u" " + t.task_code.value + u" " + t.task_name.value + u"|";
  EXPECT_EQ(tasks, u"1 A1 second|1 A2 only|3 A3 |4 B1 |");
  ASSERT_EQ(lists.taskpred.size(), 1u);
  EXPECT_EQ(lists.taskpred[0].pred_task_id.value, 999u);
  EXPECT_EQ(lists.taskpred[0].pred_type.text(), u"Start To Start");
  EXPECT_DOUBLE_EQ(lists.taskpred[0].lag_hr_cnt.hours, -8.0);
  EXPECT_EQ(lists.taskpred[0].task, nullptr);
  EXPECT_EQ(lists.taskpred[0].predtask, nullptr);

  // Table names are exact; tables the schedule does not hold are ignored.
  record_lists other;
  EXPECT_EQ(load(other, xer({"%T\ttask", "%F\ttask_id", "%R\t1", "%T\tSCHEDOPTIONS", "%F\tx", "%R\t1",
                             "%T\tTASK ", "%F\ttask_id", "%R\t2"})),
            0);
  EXPECT_TRUE(other.task.empty());
}

TEST(RecordsLoadTest, CellsConvertByKindAndByRulesOfTheirOwn) {
  record_lists lists;
  ASSERT_EQ(load(lists, xer({"%T\tTASK",
                             "%F\ttask_id\twbs_id\tclndr_id\test_wt\tfloat_path\tlock_plan_flag\trev_fdbk_flag"
                             "\tdriving_path_flag\ttotal_float_hr_cnt\tremain_drtn_hr_cnt\tact_work_qty\tremain_work_qty"
                             "\tcstr_date\tearly_start_date\tcstr_type\ttask_type\tduration_type\tpriority_type\ttask_name",
                             // Leading blanks, trailing junk, signs, blanks and junk.
                             "%R\t  42abc\t\tx9\t -2.5e1kg\t-3\tY\ty\tN\t\t16.5\t\t0\t2013-02-14 09:00\tnot a date"
                             "\tCS_MEOB\tTT_FinMile\tDT_FixedRate\tPT_Lowest\tCaf\xe9 \xabnord\xbb"})),
            1);
  ASSERT_EQ(lists.task.size(), 1u);
  const TASK& t = lists.task[0];
  // Numbers read their leading number; only "Y" is a set flag; blank
  // durations and quantities stay blank while any number, 0 too, is a
  // value; an unreadable date is empty; columns the file does not carry keep
  // the state of a new record.
  const std::pair<double, double> read[] = {
      {t.task_id.value, 42}, {t.wbs_id.value, 0}, {t.clndr_id.value, 0}, {t.est_wt.value, -25},
      {t.est_wt.value_empty, 0}, {t.float_path.value, -3}, {t.lock_plan_flag.as_bool(), 1},
      {t.rev_fdbk_flag.as_bool(), 0}, {t.driving_path_flag.as_bool(), 0}, {t.total_float_hr_cnt.dur_empty, 1},
      {t.remain_drtn_hr_cnt.dur_empty, 0}, {t.remain_drtn_hr_cnt.hours, 16.5}, {t.act_work_qty.unit_empty, 1},
      {t.remain_work_qty.unit_empty, 0}, {t.remain_work_qty.kind, s_unit::work},
      {double(t.cstr_date.time), double(at(2013, 2, 14, 9, 0))}, {t.early_start_date.empty, 1},
      {t.cstr_type.code, 7}, {t.task_type.code, 4}, {t.duration_type.code, 0}, {t.status_code.code, 2},
      {t.target_drtn_hr_cnt.dur_empty, 1}, {t.phys_complete_pct.value_empty, 1}};
  for (size_t i = 0; i < std::size(read); ++i) EXPECT_EQ(read[i].first, read[i].second) << "case " << i;
  EXPECT_TRUE(t.cstr_date.less(t.early_start_date));  // an empty date sorts after real ones
  EXPECT_EQ(t.priority_type.text(), u"5 - Lowest");
  EXPECT_EQ(t.task_name.value, u"Caf\u00e9 \u00abnord\u00bb");  // each byte one character

  // Rates per hour are units of the rate kind, blank or not; prices are costs.
  ASSERT_EQ(load(lists, xer({"%T\tRSRC", "%F\trsrc_id\tdef_qty_per_hr\trsrc_type", "%R\t5\t1.5\tRT_Equip",
                             "%R\t6\t\tMaterial", "%T\tRSRCRATE", "%F\trsrc_rate_id\tmax_qty_per_hr\tcost_per_qty2",
                             "%R\t1\t2\t75.25"})),
            2);
  // Derived members wait for the passes.
  ASSERT_EQ(lists.rsrc.size(), 2u);
  ASSERT_EQ(lists.rsrcrate.size(), 1u);
  const RSRC &r0 = lists.rsrc[0], &r1 = lists.rsrc[1];
  const std::pair<double, double> rates[] = {
      {r0.def_qty_per_hr.kind, s_unit::rate}, {r0.def_qty_per_hr.amount, 1.5}, {r0.rsrc_type.code, 1},
      {r1.def_qty_per_hr.kind, s_unit::rate}, {r1.def_qty_per_hr.unit_empty, 1}, {r1.rsrc_type.code, 2},
      {lists.rsrcrate[0].max_qty_per_hr.kind, s_unit::rate}, {lists.rsrcrate[0].cost_per_qty2.value, 75.25},
      {r0.cost_per_qty.unit_empty, 1}};
  for (size_t i = 0; i < std::size(rates); ++i) EXPECT_EQ(rates[i].first, rates[i].second) << "case " << i;

  // Columns with rules of their own.
  const std::string week =
      "(0||CalendarData()((0||DaysOfWeek()((0||1()())(0||2()((0||0(s|08:00|f|12:00)())(0||1(s|13:00|f|17:00)())))"
      "(0||3()())(0||4()())(0||5()())(0||6()())(0||7()())))(0||Exceptions()())))";
  ASSERT_EQ(load(lists, xer({"%T\tACTVCODE", "%F\tactv_code_id\tcolor\tshort_name", "%R\t1\t255\tA", "%R\t2\t\tB",
                             "%T\tACTVCODE", "%F\tactv_code_id\tshort_name", "%R\t3\tC",
                             "%T\tCALENDAR",
                             "%F\tclndr_id\tclndr_name\tclndr_type\tday_hr_cnt\tweek_hr_cnt\tmonth_hr_cnt\tyear_hr_cnt\tclndr_data",
                             "%R\t7\tFour tens\tCA_Project\t10\t0\t-1\t\t" + week,
                             "%T\tCURRTYPE", "%F\tcurr_id\tcurr_symbol\tdecimal_symbol\tdigit_group_symbol",
                             "%R\t1\t\xa3\t,\t."})),
            4);
  // Any color cell gives opaque black; without the column the colour stays unset.
  ASSERT_EQ(lists.actvcode.size(), 3u);
  EXPECT_EQ(lists.actvcode[0].color, 0xFF000000u);
  EXPECT_EQ(lists.actvcode[1].color, 0xFF000000u);
  EXPECT_EQ(lists.actvcode[2].color, 0u);

  const CALENDAR& c = lists.calendar[0];
  EXPECT_EQ(c.clndr_type.text(), u"Project");
  EXPECT_EQ(c.calendar.raw_text(), std::u16string(week.begin(), week.end()));
  // Monday 8 January 2024: 8 to 12 and 13 to 17.
  EXPECT_EQ(c.calendar.working_minutes(at(2024, 1, 8, 8, 0), at(2024, 1, 8, 17, 0)), 480);
  // Positive hour counts replace the defaults, others keep them.
  const period_factors& f = c.calendar.factors;
  EXPECT_EQ((std::array{f.day, f.week, f.month, f.year}), (std::array{10.0, 40.0, 172.0, 2000.0}));

  const money_symbols& m = lists.currtype[0].symbols;
  EXPECT_EQ(m.currency + u" " + m.decimal + u" " + m.group, u"\u00a3 , .");
}

TEST(RecordsLoadTest, EveryColumnOfEveryTableLoadsIntoItsMember) {
  // For each table: one row carrying every column the record reads, each
  // with a value of its own; every member must hold its own column's value.
  int tables = 0;
#define TESSEL_CHECK_TABLE(TYPE, list)                                                        \
  {                                                                                           \
    ++tables;                                                                                 \
    SCOPED_TRACE(#TYPE);                                                                      \
    const auto members = TYPE::members();                                                     \
    EXPECT_EQ(members[0].kind, member_kind::id);                                              \
    std::set<std::u16string_view> names;                                                      \
    std::string fields = "%F", row = "%R";                                                    \
    for (size_t i = 0; i < members.size(); ++i) {                                             \
      EXPECT_TRUE(names.insert(members[i].name).second) << "repeated member";                 \
      if (members[i].kind == member_kind::derived) continue;                                  \
      fields += "\t" + std::string(members[i].name.begin(), members[i].name.end());           \
      row += "\t" + cell_for(members[i].kind, i);                                             \
    }                                                                                         \
    record_lists lists;                                                                       \
    ASSERT_EQ(load(lists, xer({"%T\t" #TYPE, fields, row})), 1);                              \
    ASSERT_EQ(lists.list.size(), 1u);                                                         \
    TYPE& r = lists.list[0];                                                                  \
    for (size_t i = 0; i < members.size(); ++i) check_member(members[i], &r, i);              \
  }

  auto cell_for = [](member_kind k, size_t i) -> std::string {
    switch (k) {
      case member_kind::id:
      case member_kind::whole: return std::to_string(100 + i);
      case member_kind::number:
      case member_kind::hours:
      case member_kind::qty:
      case member_kind::qty_per_hr:
      case member_kind::cost: return std::to_string(i) + ".5";
      case member_kind::flag: return "Y";
      case member_kind::text: return "t" + std::to_string(i);
      case member_kind::date: return "2020-03-" + std::to_string(1 + i % 28) + " 08:00";
      default: return "";
    }
  };
  auto check_member = [](const member_desc& m, void* r, size_t i) {
    const s_val& v = m.value(r);
    const std::string name(m.name.begin(), m.name.end());
    switch (m.kind) {
      case member_kind::id:
      case member_kind::whole: EXPECT_EQ(v.as_ulong(), 100 + i) << name; break;
      case member_kind::number:
      case member_kind::hours:
      case member_kind::qty:
      case member_kind::qty_per_hr:
      case member_kind::cost: EXPECT_DOUBLE_EQ(v.as_double(), i + 0.5) << name; break;
      case member_kind::flag: EXPECT_TRUE(v.as_bool()) << name; break;
      case member_kind::text: {
        const std::string digits = std::to_string(i);
        EXPECT_EQ(v.text(), u"t" + std::u16string(digits.begin(), digits.end())) << name;
        break;
      }
      case member_kind::date: EXPECT_EQ(v.as_time(), at(2020, 3, 1 + static_cast<int>(i % 28), 8, 0)) << name; break;
      case member_kind::enumeration: EXPECT_GE(static_cast<int>(v.type()), static_cast<int>(val_type::first_enum)) << name; break;
      case member_kind::derived: break;
    }
  };
  TESSEL_RECORD_TABLES(TESSEL_CHECK_TABLE)
#undef TESSEL_CHECK_TABLE
  EXPECT_EQ(tables, 28);
}

TEST(RecordsLoadTest, RecordListsKeepAddressesAndOrder) {
  // Grown record by record, and after a bulk fill of an odd count (which
  // gets a first chunk of exactly that size), then grown again.
  for (const size_t bulk : {size_t{0}, size_t{5}, size_t{3000}}) {
    SCOPED_TRACE(bulk);
    record_list<TASKPRED, 4> list;
    std::vector<TASKPRED*> seen;
    list.reserve_back(bulk);
    for (uint32_t i = 0; i < bulk; ++i) {
      seen.push_back(::new (list.slot(i)) TASKPRED);
      seen.back()->task_pred_id.value = i;
    }
    list.commit(bulk);
    for (uint32_t i = uint32_t(bulk); i < 1000 + bulk; ++i) {
      TASKPRED& r = list.emplace_back();
      EXPECT_EQ(r.task, nullptr);
      r.task_pred_id.value = i;
      seen.push_back(&r);
    }
    ASSERT_EQ(list.size(), 1000u + bulk);
    uint32_t expect = 0;
    for (TASKPRED& r : list) {
      EXPECT_EQ(&r, seen[expect]);
      EXPECT_EQ(r.task_pred_id.value, expect);
      ++expect;
    }
    EXPECT_EQ(expect, 1000u + bulk);
    EXPECT_EQ(&list.back(), seen.back());
    EXPECT_EQ(list.end() - list.begin(), ptrdiff_t(1000 + bulk));
    list.clear();
    EXPECT_TRUE(list.empty());
    list.emplace_back().task_pred_id.value = 7;
    list.emplace_back().task_pred_id.value = 8;
    EXPECT_EQ(list.front().task_pred_id.value, 7u);
    EXPECT_EQ(list[1].task_pred_id.value, 8u);
  }
}

TEST(RecordsLoadTest, NumbersReadLikeTheLibraryReading) {
  // The quick decimal reading must give exactly what the general reading
  // gives; texts it cannot read are 0.
  const char* texts[] = {"0",     "8",       "37.5",  "0.1",      "0.3",         "123456.789",      "1e3",
                         "2.5E-2", "  -7.25x", "+4",   ".5",       "5.",          "999999999999999", "0.000000000000001",
                         "9007199254740993",   "12345678901234567890",             "3.14159265358979323846",
                         "1.7976931348623157e308", "-0.0", "1.5e", "7,5"};
  for (const char* t : texts) {
    SCOPED_TRACE(t);
    EXPECT_EQ(cell::parse_number(t), std::strtod(t, nullptr));
  }
  for (const char* t : {"", "  ", "-", ".", "-.", "abc", "inf", "nan", "x1"}) EXPECT_EQ(cell::parse_number(t), 0.0) << t;
  EXPECT_EQ(cell::parse_id(" 0042x"), 42u);
  EXPECT_EQ(cell::parse_id("-5"), 0u);
  EXPECT_EQ(cell::parse_whole("\t-17.9"), -17);
}

// A record's value for a catalog field, on a small schedule linked by hand.
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

// Each case: the value asked for, what it shows; an empty text may also be
// the shared empty value, which `none` lists.
using shown = std::pair<const s_val*, const char16_t*>;

TEST_F(FieldLookup, ActivityMembersLinksUserFieldsAndCodes) {
  catalog::field_spec s;
  s.caption = u"Reviewer";
  s.field_id = s.persistent_id = 100012;
  s.key = u"user_field_12";
  catalog::catalogs().register_field(catalog_kind::activity, s);
  field_lookup look(doc);
  // The record's own members, and those of its links.
  EXPECT_EQ(&look.value(*t1, 130), &t1->task_code);
  EXPECT_EQ(&look.value(*t1, 150), &area->status_code);  // projwbs\7Cstatus_code
  const shown cases[] = {
      {&look.value(*t1, 148), u"P1"}, {&look.value(*t1, 149), u"Project One"},  // the project's own WBS node
      {&look.value(*t1, 152), u"P1.A"}, {&look.value(*t1, 154), u"Area A"}, {&look.value(*t1, 155), u"P1.A"},
      {&look.value(*t1, 138), u"Ten-hour days"}, {&look.value(*t1, 147), u"CRANE.Tower crane"},
      {&look.value(*t2, 130), u"A101"},
      // User fields (the first value wins) and codes.
      {&look.value(*t1, 100012), u"Jane"}, {&look.value(*proj, 100016), u"project text"},
      {&look.value(*t1, 500007), u"NORTH"}, {&look.value(*proj, 600003), u"CIVIL"},
      {&look.value(*res, 700002), u"HEAVY"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(value->text(), text) << test_support::narrow(text);
  // Fields that answer nothing for activities, even where the member exists;
  // linked fields without links; ids of other catalogs; a user field whose
  // type is missing or of another record; a code of a value the document
  // lacks.
  const s_val* none[] = {&look.value(*t1, id_of(catalog_kind::activity, u"projwbs\\7Canticip_end_date")),
                         &look.value(*t1, 213), &look.value(*t1, 328), &look.value(*t1, 0), &look.value(*t1, 99999),
                         &look.value(*t2, 100012), &look.value(*t1, 100015), &look.value(*t1, 100016),
                         &look.value(*t1, 500008), &look.value(*t2, 500007), &look.value(*proj, 500003),
                         &look.value(*res, 600002)};
  for (size_t i = 0; i < std::size(none); ++i) EXPECT_TRUE(empty(*none[i])) << "case " << i;
  for (uint32_t id : {138u, 148u, 149u, 150u, 152u, 154u, 155u}) EXPECT_TRUE(empty(look.value(*t2, id))) << id;

  // Durations and work show in the activity's calendar; without one, in the defaults.
  const s_val& d = look.value(*t1, id_of(catalog_kind::activity, u"remain_drtn_hr_cnt"));
  ASSERT_EQ(&d, &t1->remain_drtn_hr_cnt);
  EXPECT_EQ(*t1->remain_drtn_hr_cnt.factors, cal->calendar.factors);
  look.value(*t1, id_of(catalog_kind::activity, u"remain_work_qty"));
  EXPECT_EQ(*t1->remain_work_qty.factors, cal->calendar.factors);
  look.value(*t2, id_of(catalog_kind::activity, u"remain_drtn_hr_cnt"));
  EXPECT_EQ(t2->remain_drtn_hr_cnt.factors, default_period_factors());

  // User fields of a number type answer numbers.
  const s_val& money = look.value(*t1, 100013);
  EXPECT_EQ(money.type(), val_type::cost);
  EXPECT_DOUBLE_EQ(money.as_double(), 12.5);
  const s_val& whole = look.value(*t1, 100014);
  EXPECT_EQ(whole.type(), val_type::integer);
  EXPECT_EQ(whole.as_ulong(), 7u);
}

// A key that names no member or link answers nothing, and nothing else shows
// a misspelt one: on records linked to everything, only the fields meant to
// answer nothing do.
TEST_F(FieldLookup, EveryBuiltInKeyReachesItsValueOnLinkedRecords) {
  field_lookup look(doc);
  std::vector<size_t> none;
  auto count = [&](catalog_kind k, auto answer) {
    size_t n = 0;
    for (const catalog::field_entry& e : catalog::catalogs()[k].entries()) n += empty(answer(e.field_id));
    none.push_back(n);
  };
  count(catalog_kind::activity, [&](uint32_t id) -> const s_val& { return look.value(*t1, id); });
  count(catalog_kind::wbs, [&](uint32_t id) -> const s_val& { return look.value(*area, id); });
  count(catalog_kind::project, [&](uint32_t id) -> const s_val& { return look.value(*proj, id); });
  count(catalog_kind::resource, [&](uint32_t id) -> const s_val& { return look.value(*res, id); });
  count(catalog_kind::predecessor, [&](uint32_t id) -> const s_val& { return look.predecessor_value(*rel, id); });
  count(catalog_kind::successor, [&](uint32_t id) -> const s_val& { return look.successor_value(*rel, id); });
  // Most of them are figures no record of a text export holds (costs, earned
  // value); the successor side also counts its activity's project and WBS,
  // which t2 lacks.
  EXPECT_EQ(none, (std::vector<size_t>{136, 106, 115, 8, 11, 13}));
}

TEST_F(FieldLookup, WbsProjectResourceAndRelationships) {
  field_lookup look(doc);
  auto pred = [&](std::u16string_view key) { return id_of(catalog_kind::predecessor, key); };
  auto succ = [&](std::u16string_view key) { return id_of(catalog_kind::successor, key); };
  // Members answered as themselves, also from the project's own node.
  const std::pair<const s_val*, const s_val*> own[] = {
      {&look.value(*area, 510), &area->wbs_name}, {&look.value(*area, 472), &area->status_code},
      {&look.value(*proj, 328), &proj->proj_short_name}, {&look.value(*proj, 331), &top->status_code},
      {&look.value(*res, 533), &res->rsrc_short_name}, {&look.value(*res, 534), &res->rsrc_name},
      {&look.predecessor_value(*rel, pred(u"lag_hr_cnt")), &rel->lag_hr_cnt}};
  for (size_t i = 0; i < std::size(own); ++i) EXPECT_EQ(own[i].first, own[i].second) << "case " << i;
  const shown cases[] = {
      {&look.value(*area, 374), u"P1.A"},  // the WBS code
      {&look.value(*area, 473), u"Site manager"}, {&look.value(*proj, 330), u"Project One"},
      {&look.value(*proj, 335), u"Site manager"},
      {&look.value(*res, id_of(catalog_kind::resource, u"clndr_id")), u"Ten-hour days"},
      {&look.predecessor_value(*rel, pred(u"predtask\\7Ctask_code")), u"A100"},
      {&look.predecessor_value(*rel, pred(u"predproject\\7Cproj_short_name")), u"P1"},
      {&look.predecessor_value(*rel, pred(u"predtask.projwbs\\7Cwbs_full_name")), u"P1.A"},
      {&look.predecessor_value(*rel, pred(u"predtask\\7Crsrc_id")), u"CRANE.Tower crane"},
      {&look.successor_value(*rel, succ(u"task\\7Ctask_code")), u"A101"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(value->text(), text) << test_support::narrow(text);
  EXPECT_EQ(look.value(*area, id_of(catalog_kind::wbs, u"anticip_end_date")).as_time(), 86400);
  // The successor's Finish, though its key is spelt "end_datee".
  rel->task->end_date = s_date::from_time(7 * 86400);
  EXPECT_EQ(look.successor_value(*rel, succ(u"task\\7Cend_datee")).as_time(), 7 * 86400);
  // A predecessor-catalog id asked through the successor catalog, or of a
  // relationship linked to nothing, answers nothing.
  TASKPRED loose;
  const s_val* none[] = {&look.value(*area, 511),  // [caption]
                         &look.value(*proj, id_of(catalog_kind::project, u"project\\7Cfcst_start_date")),
                         &look.value(*res, id_of(catalog_kind::resource, u"role_id")),
                         &look.predecessor_value(*rel, pred(u"critical_flag")),
                         &look.successor_value(*rel, succ(u"project\\7Cproj_short_name")),
                         &look.successor_value(*rel, succ(u"rtf")),
                         &look.successor_value(*rel, pred(u"predtask\\7Ctask_code")),
                         &look.predecessor_value(loose, pred(u"predtask\\7Ctask_code"))};
  for (size_t i = 0; i < std::size(none); ++i) EXPECT_TRUE(empty(*none[i])) << "case " << i;

  // Durations show in the calendar of their record: the project's, the predecessor's.
  const s_val& drtn = look.value(*proj, id_of(catalog_kind::project, u"remain_drtn_hr_cnt"));
  ASSERT_EQ(&drtn, &proj->remain_drtn_hr_cnt);
  EXPECT_EQ(*proj->remain_drtn_hr_cnt.factors, cal->calendar.factors);
  look.predecessor_value(*rel, pred(u"predtask\\7Cremain_drtn_hr_cnt"));
  EXPECT_EQ(*t1->remain_drtn_hr_cnt.factors, cal->calendar.factors);
}

}  // namespace
}  // namespace tessel::document
