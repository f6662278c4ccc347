// The list box's contract, run against the core alone and again through the Qt widgets: the
// same messages and the same person's selections must show the same rows and selection and
// send the same notifications.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QListView>
#include <QTest>
#include <memory>

#include "platform/encoding.h"
#include "platform/headless_backend.h"
#include "platform/listbox.h"
#include "platform/user_input.h"
#include "test_dialogs.h"

namespace {

using namespace qt_test;

enum class Side { Core, Qt };

class ListBoxContract : public ::testing::TestWithParam<Side> {
 protected:
  void SetUp() override {
    if (GetParam() == Side::Core) headless_ = std::make_unique<platform::HeadlessBackend>();
    ASSERT_TRUE(dialog_.Create(kFormDialog));
    list_.Attach(dialog_.Item(kList));
    if (GetParam() == Side::Qt) {
      ASSERT_TRUE(Activate(dialog_.m_hWnd));
      view_ = qobject_cast<QListView*>(WidgetOf(dialog_.Item(kList)));
      ASSERT_NE(nullptr, view_);
    }
  }
  void TearDown() override {
    dialog_.DestroyWindow();
    headless_.reset();
  }

  void PersonSelects(int row) {
    if (GetParam() == Side::Core) {
      platform::user::SelectRow(dialog_.Item(kList), row);
      return;
    }
    QCoreApplication::processEvents();
    const QModelIndex index = view_->model()->index(row, 0);
    view_->scrollTo(index);
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, view_->visualRect(index).center());
  }

  // What a person sees: the rows, the selected one in brackets.
  std::string Shown() {
    std::string shown;
    if (GetParam() == Side::Core) {
      auto* box = static_cast<platform::ListBoxWindow*>(dialog_.Item(kList));
      for (int i = 0; i < box->Count(); ++i) {
        const std::string row = platform::Cp932ToUtf8(box->Row(i));
        shown += (i ? "|" : "") + (i == box->Selection() ? "[" + row + "]" : row);
      }
      return shown;
    }
    QCoreApplication::processEvents();
    const QAbstractItemModel* model = view_->model();
    const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
    for (int i = 0; i < model->rowCount(); ++i) {
      const std::string row = model->index(i, 0).data().toString().toStdString();
      const bool is_selected = !selected.isEmpty() && selected.first().row() == i;
      shown += (i ? "|" : "") + (is_selected ? "[" + row + "]" : row);
    }
    return shown;
  }

  std::unique_ptr<platform::HeadlessBackend> headless_;
  TestDialog dialog_{kFormDialog};
  CListBox list_;
  QListView* view_ = nullptr;
};

TEST_P(ListBoxContract, MessagesShowRowsInTheirOrder) {
  list_.AddString("b");
  list_.AddString(Sjis("東京都").c_str());
  list_.InsertString(0, "a");
  list_.InsertString(-1, "z");
  list_.DeleteString(2);
  list_.AddString("cut\x82");  // a double-byte character cut in half
  EXPECT_EQ("a|b|z|cut\uFFFD", Shown());
  EXPECT_EQ(4, list_.GetCount());
}

TEST_P(ListBoxContract, PersonsSelectionNotifiesOnceProgramsNever) {
  for (const char* row : {"a", "b", "c", "d"}) list_.AddString(row);
  PersonSelects(2);
  EXPECT_EQ("a|b|[c]|d", Shown());
  EXPECT_EQ(1, CountNotes(dialog_, kList, LBN_SELCHANGE));
  PersonSelects(2);  // the same row again: no change
  EXPECT_EQ(1, CountNotes(dialog_, kList, LBN_SELCHANGE));
  list_.SetCurSel(0);
  EXPECT_EQ("[a]|b|c|d", Shown());
  EXPECT_EQ(1, CountNotes(dialog_, kList, LBN_SELCHANGE));
  EXPECT_EQ(0, list_.GetCurSel());
}

TEST_P(ListBoxContract, SelectionFollowsInsertsDeletesAndReset) {
  for (const char* row : {"a", "b", "c"}) list_.AddString(row);
  PersonSelects(1);
  list_.InsertString(0, "x");
  EXPECT_EQ("x|a|[b]|c", Shown());
  list_.DeleteString(2);
  EXPECT_EQ("x|a|c", Shown());
  EXPECT_EQ(LB_ERR, list_.GetCurSel());
  list_.SetCurSel(2);
  list_.ResetContent();
  EXPECT_EQ("", Shown());
  EXPECT_EQ(LB_ERR, list_.GetCurSel());
}

TEST_P(ListBoxContract, RowsRewrittenInPlaceShowTheirNewText) {
  // The library's cleaning pass: each row deleted and put back, changed, at the same index.
  for (const char* row : {"\"1\"", "\"2\"", "\"3\""}) list_.AddString(row);
  EXPECT_EQ("\"1\"|\"2\"|\"3\"", Shown());
  for (int i = 0; i < 3; ++i) {
    list_.DeleteString(static_cast<UINT>(i));
    list_.InsertString(i, std::to_string(i + 1).c_str());
  }
  EXPECT_EQ("1|2|3", Shown());
}

// The classic return values, which callers written for the classic list box rely on.
TEST_P(ListBoxContract, MessagesAnswerWithTheClassicValues) {
  EXPECT_EQ(LB_ERR, list_.DeleteString(0)) << "delete on an empty box";
  EXPECT_EQ(0, list_.AddString("a"));
  EXPECT_EQ(1, list_.AddString("b"));
  EXPECT_EQ(LB_ERR, list_.GetCurSel()) << "adding never selects";
  EXPECT_EQ(2, list_.InsertString(2, "c")) << "at the count: appended";
  EXPECT_EQ(LB_ERR, list_.InsertString(4, "x"));
  EXPECT_EQ(LB_ERR, list_.InsertString(-2, "x"));
  EXPECT_EQ(LB_ERR, list_.DeleteString(3));
  EXPECT_EQ(LB_ERR, list_.DeleteString(static_cast<UINT>(-1)));
  char buffer[8] = "keep";
  EXPECT_EQ(LB_ERR, list_.GetText(3, buffer));
  EXPECT_EQ(LB_ERR, list_.GetText(-1, buffer));
  EXPECT_STREQ("keep", buffer) << "a failed LB_GETTEXT writes nothing";
  EXPECT_EQ(1, list_.GetText(1, buffer));
  EXPECT_EQ(LB_ERR, list_.GetTextLen(3));
  EXPECT_EQ(LB_ERR, list_.SetCurSel(3));
  EXPECT_EQ(2, list_.DeleteString(0)) << "rows left";
  EXPECT_EQ("b|c", Shown());
}

// A deletion waits for an insert at its index; any other message must still see it done.
TEST_P(ListBoxContract, DeletionIsCompleteWhateverComesNext) {
  for (const char* row : {"a", "b", "c"}) list_.AddString(row);
  list_.DeleteString(1);
  char buffer[8] = {};
  list_.GetText(1, buffer);
  EXPECT_STREQ("c", buffer);
  list_.DeleteString(0);
  list_.InsertString(1, "x");  // not where the deletion was
  EXPECT_EQ("c|x", Shown());
  list_.DeleteString(1);
  list_.AddString("y");
  EXPECT_EQ("c|y", Shown());
  list_.DeleteString(0);
  list_.ResetContent();
  list_.AddString("z");
  EXPECT_EQ("z", Shown());
}

INSTANTIATE_TEST_SUITE_P(Backends, ListBoxContract, ::testing::Values(Side::Core, Side::Qt),
                         [](const auto& info) { return info.param == Side::Core ? "Core" : "Qt"; });

}  // namespace
