#pragma once
// What the open dialog, Save As and Delete need of the mark store, on whatever database the alias
// dbmd names: the list of marks from the keys, and both rows of a mark changed together or not at
// all, only as the clerk saw them. Run by the SQLite tests and the PostgreSQL ones (both drivers).

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "app/MarkStore.h"

namespace marks_test {

inline void CheckMarkPairs() {
  WriteMark({"C104", "M01", "0"}, "main only");
  WriteMark({"C104", "M02", "1"}, "side only");
  bool m01 = false;
  bool m02 = false;
  for (const TStoredMark& mark : ListMarks()) {
    if (mark.CustomerId == "C104" && mark.MarkId == "M01") m01 = mark.Main && !mark.Side;
    if (mark.CustomerId == "C104" && mark.MarkId == "M02") m02 = !mark.Main && mark.Side;
  }
  EXPECT_TRUE(m01 && m02) << "listed with the sides they have";
  const std::vector<std::string> customers = ListCustomers();
  EXPECT_NE(std::find(customers.begin(), customers.end(), "C104"), customers.end());

  // Save As onto a free key, then a write that expects what is no longer there: nothing written.
  const TMarkPair both{std::string("x"), std::string("y")};
  EXPECT_TRUE(StoreMarkPair("C104", "M03", both, {}).Done);
  EXPECT_EQ(ReadMarkPair("C104", "M03"), both);
  const TMarkPairResult stale = StoreMarkPair("C104", "M03", {std::string("z"), std::nullopt}, {std::string("x"), std::nullopt});
  EXPECT_FALSE(stale.Done);
  EXPECT_EQ(stale.Found, both);
  EXPECT_EQ(ReadMarkPair("C104", "M03"), both);

  // A failure after both rows were written takes both back.
  SetWriteMarkHook([](const std::string& step) {
    if (step == "written") throw std::runtime_error("cut off");
  });
  EXPECT_THROW(StoreMarkPair("C104", "M03", {std::string("p"), std::string("q")}, both), std::exception);
  SetWriteMarkHook(nullptr);
  EXPECT_EQ(ReadMarkPair("C104", "M03"), both) << "both rows or neither";

  // Delete: both rows go.
  EXPECT_TRUE(StoreMarkPair("C104", "M03", {}, both).Done);
  EXPECT_EQ(ReadMarkPair("C104", "M03"), TMarkPair{});
}

}  // namespace marks_test
