#include <gtest/gtest.h>

#include "values/s_val.h"

// The shared empty value is one object: clones of a plain value answer it,
// and releasing such a clone must not destroy it.
TEST(SharedEmptyValue, PlainCloneIsTheSharedObjectAndSurvivesRelease) {
  tessel::s_val plain;
  {
    tessel::val_ptr c = plain.clone();
    EXPECT_EQ(c.get(), &tessel::shared_empty_value());
  }
  EXPECT_EQ(tessel::shared_empty_value().empty, 1);
  EXPECT_TRUE(tessel::shared_empty_value().text().empty());
  EXPECT_FALSE(tessel::shared_empty_value().equal(tessel::shared_empty_value()));
}
