// The row tree itself: kinds and records, field values of leaf rows, the
// group row's kept summaries, destroying a tree, and the visible row list.
#include "rows_test_support.h"
#include "values/s_scalars.h"

using namespace rows_test;

namespace {

// A group item that counts its summaries and its destruction.
struct counting_item : GroupItem {
  counting_item(int* computed, int* destroyed)
      : GroupItem(nullptr, tessel::catalog::catalog_kind::activity, nullptr, 0, tessel::s_string(u"g")),
        computed_(computed),
        destroyed_(destroyed) {}
  ~counting_item() override { ++*destroyed_; }
  tessel::val_ptr summary(uint32_t field_id, const row_list& rows) const override {
    ++*computed_;
    return tessel::val_ptr(new tessel::s_int(static_cast<int32_t>(field_id + rows.size())));
  }
  int* computed_;
  int* destroyed_;
};

}  // namespace

TEST(RowsTree, LeafRowsAnswerThroughTheirRecords) {
  opened o(schedule({{"1", "A10", {{"rsrc_id", "501"}}}}));
  ASSERT_TRUE(o.ok());
  const auto& doc = o.doc();
  ActivityRow a(doc.task[0], doc.fields());
  EXPECT_EQ(a.activity(), &doc.task[0]);
  EXPECT_EQ(a.field_value(act(u"task_code")).text(), u"A10");
  EXPECT_EQ(a.field_value(act(u"rsrc_id")).text(), u"R1.Crane");
  EXPECT_EQ(&a.field_value(act(u"task_code")), &a.field_value_at(act(u"task_code")));
  // A field of another catalog, or an unknown one, is the shared empty value.
  EXPECT_EQ(&a.field_value(999999), &tessel::shared_empty_value());

  WBSRow w(doc.projwbs[1], doc.fields());
  EXPECT_EQ(w.field_value(field(tessel::catalog::catalog_kind::wbs, u"wbs_name")).text(), u"Area A");
  ResourceRow r(doc.rsrc[1], doc.fields());
  EXPECT_EQ(r.field_value(field(tessel::catalog::catalog_kind::resource, u"rsrc_name")).text(), u"Crew");

  // A relationship row asked for a code field answers the shared empty
  // value; code and step rows answer every field with it.
  tessel::document::TASKPRED rel;
  rel.task = const_cast<tessel::document::TASK*>(&doc.task[0]);
  RelationshipRow pred(rel, doc.fields(), RelationshipRow::side::successor);
  EXPECT_TRUE(pred.is_relationship_row());
  EXPECT_EQ(&pred.field_value(tessel::catalog::activity_code_base + 1), &tessel::shared_empty_value());
  EXPECT_EQ(pred.field_value(field(tessel::catalog::catalog_kind::successor, u"task\\7Ctask_code")).text(), u"A10");
  tessel::document::TASKACTV code;
  ActivityCodeRow c(code);
  EXPECT_TRUE(c.is_activity_code_row());
  EXPECT_EQ(c.activity_code(), &code);
  EXPECT_EQ(&c.field_value(act(u"task_code")), &tessel::shared_empty_value());
  RootRow root;
  EXPECT_TRUE(root.is_root_row());
  EXPECT_EQ(&root.field_value(act(u"task_code")), &tessel::shared_empty_value());
}

TEST(RowsTree, GroupRowsKeepSummariesAndDieWithTheTree) {
  opened o(schedule({{"1", "A10", {}}, {"2", "A20", {}}}));
  ASSERT_TRUE(o.ok());
  int computed = 0, destroyed = 0;
  {
    auto root = std::make_unique<RootRow>();
    Row& outer = root->add_child(std::make_unique<GroupRow>(std::make_unique<counting_item>(&computed, &destroyed)));
    Row& inner = outer.add_child(std::make_unique<GroupRow>(std::make_unique<counting_item>(&computed, &destroyed)));
    inner.add_child(std::make_unique<ActivityRow>(o.doc().task[0], o.doc().fields()));
    inner.add_child(std::make_unique<ActivityRow>(o.doc().task[1], o.doc().fields()));
    EXPECT_EQ(outer.depth, 1);
    EXPECT_EQ(inner.depth, 2);
    EXPECT_EQ(inner.children()[1]->depth, 3);
    EXPECT_TRUE(outer.expanded);
    EXPECT_FALSE(outer.selected);
    EXPECT_EQ(outer.index, -1);
    EXPECT_EQ(outer.table_rect.w, 0.0f);

    const tessel::s_val& first = inner.field_value(7);
    EXPECT_EQ(first.text(), u"9");  // 7 + two children
    EXPECT_EQ(&inner.field_value(7), &first);
    EXPECT_EQ(&inner.field_value_at(7), &first);
    EXPECT_EQ(computed, 1);
    inner.field_value(8);
    EXPECT_EQ(computed, 2);
  }
  // Both group items went with the tree; the records stay.
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(o.doc().task[1].task_code.value, u"A20");
}

TEST(RowsTree, VisibleRowsFollowExpandedFlags) {
  opened o(schedule({
      {"1", "A10", {{"wbs_id", "13"}}},
      {"2", "A20", {{"wbs_id", "12"}}},
  }));
  ASSERT_TRUE(o.ok());
  GroupBy wbs = group_by(act(u"wbs_id"));
  wbs.wbs_hierarchy = true;
  GroupSortSettings s;
  s.group_bys = {wbs};
  auto root = build_activity_tree(o.doc(), s);
  std::vector<Row*> rows;
  // P1, A, A1, A10, B, A20.
  EXPECT_EQ(visible_rows(*root, rows), 4u);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[3]->activity()->task_code.value, u"A10");
  // A collapsed group shows as one line; rows under it keep their flags.
  Row& area_a = *root->children()[0]->children()[0];
  area_a.children()[0]->expanded = false;
  area_a.expanded = false;
  EXPECT_EQ(visible_rows(*root, rows), 3u);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[1], &area_a);
  EXPECT_EQ(rows[3]->activity()->task_code.value, u"A20");
  expand_all(*root);
  visible_rows(*root, rows);
  EXPECT_EQ(rows.size(), 6u);
  // An empty tree shows nothing.
  RootRow empty;
  EXPECT_EQ(visible_rows(empty, rows), 0u);
  EXPECT_TRUE(rows.empty());
}
