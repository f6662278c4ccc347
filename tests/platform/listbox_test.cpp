// The list box's contract: how the classic list box answers its messages.
#include <gtest/gtest.h>

#include <string>

#include "platform/clistbox.h"
#include "platform/listbox.h"

namespace {

class ListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(list_.Create(LBS_NOTIFY, RECT{0, 0, 100, 100}, nullptr, 5)); }

  std::string Text(int index) {
    char buffer[300] = {};
    const int length = list_.GetText(index, buffer);
    return length == LB_ERR ? std::string("<LB_ERR>") : std::string(buffer, length);
  }
  std::string Rows() {
    std::string all;
    for (int i = 0; i < list_.GetCount(); ++i) all += (i ? "|" : "") + Text(i);
    return all;
  }

  CListBox list_;
};

TEST_F(ListBoxTest, AddAppendsInCallOrderAndNeverSelects) {
  EXPECT_EQ(0, list_.AddString("a"));
  EXPECT_EQ(1, list_.AddString("b"));
  EXPECT_EQ(2, list_.AddString("c"));
  EXPECT_EQ(3, list_.GetCount());
  EXPECT_EQ(LB_ERR, list_.GetCurSel());
  EXPECT_EQ("a|b|c", Rows());
}

TEST_F(ListBoxTest, InsertAcceptsMinusOneAndCountOnly) {
  list_.AddString("a");
  EXPECT_EQ(1, list_.InsertString(-1, "z"));
  EXPECT_EQ(2, list_.InsertString(2, "y"));
  EXPECT_EQ(0, list_.InsertString(0, "first"));
  EXPECT_EQ(LB_ERR, list_.InsertString(5, "x"));
  EXPECT_EQ(LB_ERR, list_.InsertString(-2, "x"));
  EXPECT_EQ("first|a|z|y", Rows());
}

TEST_F(ListBoxTest, DeleteReturnsRowsLeftAndRefusesBadIndexes) {
  EXPECT_EQ(LB_ERR, list_.DeleteString(0));
  list_.AddString("a");
  list_.AddString("b");
  EXPECT_EQ(LB_ERR, list_.DeleteString(2));
  EXPECT_EQ(LB_ERR, list_.DeleteString(static_cast<UINT>(-1)));
  EXPECT_EQ(1, list_.DeleteString(0));
  EXPECT_EQ("b", Rows());
}

TEST_F(ListBoxTest, SelectionFollowsInsertsAndDeletes) {
  for (const char* row : {"a", "b", "c", "d"}) list_.AddString(row);
  EXPECT_EQ(2, list_.SetCurSel(2));
  list_.InsertString(1, "x");  // before the selection: it moves down
  EXPECT_EQ(3, list_.GetCurSel());
  list_.InsertString(3, "y");  // at the selection: it moves down too
  EXPECT_EQ(4, list_.GetCurSel());
  list_.DeleteString(0);  // above: it moves up
  EXPECT_EQ(3, list_.GetCurSel());
  list_.DeleteString(3);  // the selected row: no selection
  EXPECT_EQ(LB_ERR, list_.GetCurSel());
  EXPECT_EQ(LB_ERR, list_.SetCurSel(-1));
  EXPECT_EQ(LB_ERR, list_.SetCurSel(99));
  EXPECT_EQ(LB_ERR, list_.GetCurSel());
}

TEST_F(ListBoxTest, GetTextOutOfRangeWritesNothing) {
  list_.AddString("row");
  char buffer[8] = "keep";
  EXPECT_EQ(LB_ERR, list_.GetText(1, buffer));
  EXPECT_EQ(LB_ERR, list_.GetText(-1, buffer));
  EXPECT_STREQ("keep", buffer);
  EXPECT_EQ(3, list_.GetTextLen(0));
  EXPECT_EQ(LB_ERR, list_.GetTextLen(1));
}

TEST_F(ListBoxTest, ResetEmptiesAndClearsSelection) {
  list_.AddString("a");
  list_.SetCurSel(0);
  list_.ResetContent();
  EXPECT_EQ(0, list_.GetCount());
  EXPECT_EQ(LB_ERR, list_.GetCurSel());
}

// The library's cleaning pass: delete row i, insert its new text at i, for every row. The
// list keeps such a deletion pending; whatever comes between must still see classic results.
TEST_F(ListBoxTest, DeleteThenInsertAtSameIndexReplacesTheRow) {
  for (const char* row : {"a", "b", "c"}) list_.AddString(row);
  for (int i = 0; i < list_.GetCount(); ++i) {
    const std::string text = Text(i);
    EXPECT_EQ(2, list_.DeleteString(i));
    EXPECT_EQ(2, list_.GetCount());
    list_.InsertString(i, (text + "'").c_str());
  }
  EXPECT_EQ("a'|b'|c'", Rows());
}

TEST_F(ListBoxTest, PendingDeletionIsCompletedByAnyOtherMessage) {
  for (const char* row : {"a", "b", "c"}) list_.AddString(row);
  list_.DeleteString(1);
  EXPECT_EQ("c", Text(1));
  list_.DeleteString(0);
  list_.InsertString(1, "x");  // not where the hole is
  EXPECT_EQ("c|x", Rows());
  list_.DeleteString(1);
  list_.AddString("y");
  EXPECT_EQ("c|y", Rows());
  list_.DeleteString(0);
  list_.ResetContent();
  EXPECT_EQ(0, list_.GetCount());
  list_.AddString("z");
  EXPECT_EQ("z", Rows());
}

TEST_F(ListBoxTest, OnlyAPersonsSelectionNotifies) {
  // A dialog-less box has no parent to notify; the selection still moves.
  list_.AddString("a");
  list_.AddString("b");
  auto* box = static_cast<platform::ListBoxWindow*>(list_.m_hWnd);
  box->UserSelect(1);
  EXPECT_EQ(1, list_.GetCurSel());
}

TEST(WindowHandleTest, StaleHandlesAreRefused) {
  HWND stale = nullptr;
  {
    CListBox list;
    list.Create(0, RECT{0, 0, 1, 1}, nullptr, 1);
    stale = list.m_hWnd;
    EXPECT_TRUE(IsWindow(stale));
  }
  EXPECT_FALSE(IsWindow(stale));
  EXPECT_EQ(0, SendMessageA(stale, LB_GETCOUNT, 0, 0));
}

}  // namespace
