#include "values/enums.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "values/s_scalars.h"

using namespace tessel;

namespace {

// Runs `f` with a default-built value of every enumeration type.
template <class F>
void for_each_enum_type(F&& f) {
  f(s_activity_status());
  f(s_constraint_type());
  f(s_activity_type());
  f(s_project_status());
  f(s_node_type());
  f(s_calendar_type());
  f(s_activity_code_type_scope());
  f(s_logical_data_type());
  f(s_percent_comlete_type());
  f(s_duration_type());
  f(s_leveling_priority());
  f(s_rate_type());
  f(s_resource_type());
  f(s_relationship_type());
  f(s_review_status());
}

// Codes in ascending order of the type's `less`.
template <class T>
std::vector<std::u16string> captions_sorted(std::vector<int32_t> codes) {
  std::vector<T> v;
  for (int32_t c : codes) v.emplace_back(c);
  std::stable_sort(v.begin(), v.end(), [](const T& a, const T& b) { return a.less(b); });
  std::vector<std::u16string> out;
  for (const T& e : v) out.push_back(e.text());
  return out;
}

}  // namespace

TEST(EnumsTest, ReadsStoredCodesCaptionsOrDefaultFromTextOrBytes) {
  // A text export writes the stored code, a workbook the caption.
  EXPECT_EQ(s_activity_status(u"TK_Complete").code, 0);
  EXPECT_EQ(s_activity_status(u"Completed").code, 0);
  EXPECT_EQ(s_activity_status(u"TK_Active").text(), u"In Progress");
  EXPECT_EQ(s_activity_status(u"TA_NotStarted").code, 2);
  // Whole text, case-sensitive: anything else is the default.
  EXPECT_EQ(s_activity_status(u"tk_complete").code, 2);
  EXPECT_EQ(s_activity_status(u"TK_Complete ").code, 2);
  EXPECT_EQ(s_activity_status(u"").text(), u"Not Started");

  // Relationships read the short forms but not the long captions.
  EXPECT_EQ(s_relationship_type(u"SS").text(), u"Start To Start");
  EXPECT_EQ(s_relationship_type(u"PR_SF").text(), u"Start To Finish");
  EXPECT_EQ(s_relationship_type(u"Start To Start").text(), u"Finish To Start");
  EXPECT_EQ(s_relationship_type(u"FF").code, 0);

  // Duration type: code 3 (also the default) is shown with two ampersands.
  EXPECT_EQ(s_duration_type(u"Fixed Units").code, 2);
  EXPECT_EQ(s_duration_type(u"DT_FixedRate").code, 0);
  EXPECT_EQ(s_duration_type(u"DT_FixedDUR2").text(), u"Fixed Duration && Units");
  EXPECT_EQ(s_duration_type(u"Fixed Duration and Units/Time").code, 1);

  // Types that read codes only ignore their captions.
  EXPECT_EQ(s_calendar_type(u"CA_Rsrc").code, 1);
  EXPECT_EQ(s_calendar_type(u"Resource").code, 0);
  EXPECT_EQ(s_activity_code_type_scope(u"AS_Project").text(), u"Project");
  EXPECT_EQ(s_activity_code_type_scope(u"EPS").code, 0);
  EXPECT_EQ(s_logical_data_type(u"FT_MONEY").code, 4);
  EXPECT_EQ(s_logical_data_type(u"Money").code, 2);
  EXPECT_EQ(s_logical_data_type(u"FT_DATE").text(), u"Text");

  // Project status: unknown and empty texts give 5, never the caption-less 3.
  EXPECT_EQ(s_project_status(u"WS_Whatif").text(), u"What-if");
  EXPECT_EQ(s_project_status(u"Planned").code, 2);
  EXPECT_EQ(s_project_status(u"WS_Unknown").code, 5);
  EXPECT_EQ(s_project_status(u"").code, 5);
  EXPECT_EQ(s_project_status(5).text(), u"");
  EXPECT_TRUE(s_project_status(4).less(s_project_status(u"bogus")));

  // No constraint is code 0 and shows nothing.
  EXPECT_EQ(s_constraint_type(u"").code, 0);
  EXPECT_EQ(s_constraint_type(u"Mandatory Finish").code, 9);
  EXPECT_EQ(s_constraint_type(u"CS_MSOA").text(), u"Start On or After");

  // Node types and review statuses read nothing.
  EXPECT_EQ(s_node_type(u"Project").code, 0);
  EXPECT_EQ(s_node_type(1).text(), u"Project");
  EXPECT_EQ(s_node_type(2).text(), u"");
  EXPECT_EQ(s_review_status(7).text(), u"");

  // Defaults.
  EXPECT_EQ(s_leveling_priority().text(), u"3 - Normal");
  EXPECT_EQ(s_duration_type().code, 3);
  EXPECT_EQ(s_relationship_type().code, 1);
  EXPECT_EQ(s_rate_type(u"Price / Unit3").code, 2);
  EXPECT_EQ(s_resource_type(u"RT_Mat").text(), u"Material");

  // Latin bytes read like their text.
  // Every stored code, caption and accepted text, as bytes, gives the same
  // code as the wide text; so do near misses.
  int checked = 0;
  for_each_enum_type([&](const auto& v) {
    using T = std::decay_t<decltype(v)>;
    for (const enum_entry& e : T::entries()) {
      for (std::u16string_view w : {e.stored, e.caption, e.accepted}) {
        std::u16string texts[] = {std::u16string(w), std::u16string(w) + u"x", std::u16string(w).substr(0, w.size() / 2)};
        for (const std::u16string& t : texts) {
          std::string bytes(t.begin(), t.end());
          EXPECT_EQ(T(std::string_view(bytes)).code, T(std::u16string_view(t)).code);
          ++checked;
        }
      }
    }
  });
  EXPECT_GT(checked, 300);
  // A byte above 0x7F is one character of the same code.
  EXPECT_EQ(s_activity_status(std::string_view("TK_Compl\xe9te")).code, 2);
}

TEST(EnumsTest, OrderEqualityAndCaptionRanks) {
  EXPECT_EQ(captions_sorted<s_constraint_type>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
            (std::vector<std::u16string>{u"As Late As Possible", u"Finish On", u"Finish On or After",
                                         u"Finish On or Before", u"Mandatory Finish", u"Mandatory Start", u"Start On",
                                         u"Start On or After", u"Start On or Before", u""}));
  EXPECT_EQ(captions_sorted<s_activity_type>({0, 1, 2, 3, 4, 5}),
            (std::vector<std::u16string>{u"Finish Milestone", u"Level of Effort", u"Resource Dependent",
                                         u"Start Milestone", u"Task Dependent", u"WBS Summary"}));
  EXPECT_EQ(captions_sorted<s_percent_comlete_type>({0, 1, 2}),
            (std::vector<std::u16string>{u"Duration", u"Physical", u"Units"}));
  EXPECT_EQ(captions_sorted<s_duration_type>({0, 1, 2, 3}),
            (std::vector<std::u16string>{u"Fixed Duration && Units", u"Fixed Duration and Units/Time", u"Fixed Units",
                                         u"Fixed Units/Time"}));
  // The others sort by code, whatever their captions.
  EXPECT_EQ(captions_sorted<s_activity_status>({2, 0, 1}),
            (std::vector<std::u16string>{u"Completed", u"In Progress", u"Not Started"}));
  EXPECT_EQ(captions_sorted<s_relationship_type>({3, 1, 2, 0}),
            (std::vector<std::u16string>{u"Finish To Finish", u"Finish To Start", u"Start To Finish",
                                         u"Start To Start"}));
  // A code the table does not know sorts after the known ones.
  EXPECT_TRUE(s_constraint_type(0).less(s_constraint_type(42)));

  // Every type has a real inequality and bounds that agree with its order.
  std::set<int> tags;
  for_each_enum_type([&](const auto& v) {
    using T = std::decay_t<decltype(v)>;
    tags.insert(static_cast<int>(v.type()));
    EXPECT_GE(static_cast<int>(v.type()), static_cast<int>(val_type::first_enum));
    // All pairs of codes 0..5: not_equal is the negation of equal, and the
    // bounds agree with the strict order.
    for (int32_t a = 0; a < 6; ++a) {
      for (int32_t b = 0; b < 6; ++b) {
        const T x(a), y(b);
        EXPECT_EQ(x.equal(y), a == b);
        EXPECT_EQ(x.not_equal(y), a != b);
        EXPECT_EQ(x.less_equal(y), x.less(y) || x.equal(y));
        EXPECT_EQ(x.greater_equal(y), x.greater(y) || x.equal(y));
        EXPECT_EQ(x.greater(y), y.less(x));
      }
    }
    // A copy keeps type and code.
    const T three(3);
    val_ptr copy = three.clone();
    EXPECT_EQ(copy->type(), three.type());
    EXPECT_TRUE(copy->equal(three));
    EXPECT_EQ(copy->text(), three.text());
  });
  EXPECT_EQ(tags.size(), 15u);

  // Values of different types never compare, even with equal codes.
  const s_activity_status status(0);
  const s_resource_type labour(0);
  const s_int zero(0);
  for (const s_val* other : {static_cast<const s_val*>(&labour), static_cast<const s_val*>(&zero)}) {
    EXPECT_FALSE(status.equal(*other));
    EXPECT_FALSE(status.not_equal(*other));
    EXPECT_FALSE(status.less_equal(*other));
    EXPECT_FALSE(status.greater_equal(*other));
  }
  // Caption-ranked types: equality is by code, order by rank.
  EXPECT_TRUE(s_activity_type(4).less_equal(s_activity_type(0)));  // Finish Milestone before Task Dependent
  EXPECT_FALSE(s_activity_type(0).less_equal(s_activity_type(4)));
  EXPECT_TRUE(s_constraint_type(0).greater_equal(s_constraint_type(9)));
}

