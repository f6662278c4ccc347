// The list box's contract: the messages a program sends and what a person does must show the
// same rows and selection and send the same notifications on every backend.
#include <string>

#include "contract_driver.h"

namespace contract {
namespace {

// The program's side of the list box, in the words of the framework's CListBox.
class ListBoxMessages {
 public:
  explicit ListBoxMessages(Driver& driver) : d_(driver) {}
  LRESULT AddString(const std::string& cp932) {
    return d_.Send(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(cp932.c_str()));
  }
  LRESULT InsertString(LRESULT index, const std::string& cp932) {
    return d_.Send(kList, LB_INSERTSTRING, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(cp932.c_str()));
  }
  LRESULT DeleteString(LRESULT index) {
    return d_.Send(kList, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  }
  LRESULT GetText(LRESULT index, char* buffer) {
    return d_.Send(kList, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
  }
  LRESULT GetTextLen(LRESULT index) {
    return d_.Send(kList, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  }
  LRESULT SetCurSel(LRESULT index) {
    return d_.Send(kList, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  LRESULT GetCurSel() { return d_.Send(kList, LB_GETCURSEL, 0, 0); }
  LRESULT GetCount() { return d_.Send(kList, LB_GETCOUNT, 0, 0); }
  void ResetContent() { d_.Send(kList, LB_RESETCONTENT, 0, 0); }
  void AddRows(std::initializer_list<const char*> rows) {
    for (const char* row : rows) AddString(row);
  }

 private:
  Driver& d_;
};

// What a person sees: the rows, the selected one in brackets.
std::string Shown(Driver& driver) {
  const std::vector<std::string> rows = driver.Rows(kList);
  const int selected = driver.SelectedRow(kList);
  std::string shown;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) shown += "|";
    shown += static_cast<int>(i) == selected ? "[" + rows[i] + "]" : rows[i];
  }
  return shown;
}

TEST_P(ListBoxContract, MessagesShowRowsInTheirOrder) {
  ListBoxMessages list(D());
  list.AddString("b");
  list.AddString(D().Cp932("東京都"));
  list.InsertString(0, "a");
  list.InsertString(-1, "z");
  list.DeleteString(2);
  list.AddString("cut\x82");  // a double-byte character cut in half
  EXPECT_EQ("a|b|z|cut\uFFFD", Shown(D()));
  EXPECT_EQ(4, list.GetCount());
}

TEST_P(ListBoxContract, PersonsSelectionNotifiesOnceProgramsNever) {
  ListBoxMessages list(D());
  list.AddRows({"a", "b", "c", "d"});
  D().ClickRow(kList, 2);
  EXPECT_EQ("a|b|[c]|d", Shown(D()));
  EXPECT_EQ(1, CountNotes(kList, LBN_SELCHANGE));
  D().ClickRow(kList, 2);  // the same row again: no change
  EXPECT_EQ(1, CountNotes(kList, LBN_SELCHANGE));
  list.SetCurSel(0);
  EXPECT_EQ("[a]|b|c|d", Shown(D()));
  EXPECT_EQ(1, CountNotes(kList, LBN_SELCHANGE));
  EXPECT_EQ(0, list.GetCurSel());
}

TEST_P(ListBoxContract, SelectionFollowsInsertsDeletesAndReset) {
  ListBoxMessages list(D());
  list.AddRows({"a", "b", "c"});
  D().ClickRow(kList, 1);
  list.InsertString(0, "x");
  EXPECT_EQ("x|a|[b]|c", Shown(D()));
  list.DeleteString(2);
  EXPECT_EQ("x|a|c", Shown(D()));
  EXPECT_EQ(LB_ERR, list.GetCurSel());
  list.SetCurSel(2);
  list.ResetContent();
  EXPECT_EQ("", Shown(D()));
  EXPECT_EQ(LB_ERR, list.GetCurSel());
}

TEST_P(ListBoxContract, RowsRewrittenInPlaceShowTheirNewText) {
  ListBoxMessages list(D());
  // The library's cleaning pass: each row deleted and put back, changed, at the same index.
  list.AddRows({"\"1\"", "\"2\"", "\"3\""});
  EXPECT_EQ("\"1\"|\"2\"|\"3\"", Shown(D()));
  for (int i = 0; i < 3; ++i) {
    list.DeleteString(i);
    list.InsertString(i, std::to_string(i + 1));
  }
  EXPECT_EQ("1|2|3", Shown(D()));
}

// The classic return values, which callers written for the classic list box rely on.
TEST_P(ListBoxContract, MessagesAnswerWithTheClassicValues) {
  ListBoxMessages list(D());
  EXPECT_EQ(LB_ERR, list.DeleteString(0)) << "delete on an empty box";
  EXPECT_EQ(0, list.AddString("a"));
  EXPECT_EQ(1, list.AddString("b"));
  EXPECT_EQ(LB_ERR, list.GetCurSel()) << "adding never selects";
  EXPECT_EQ(2, list.InsertString(2, "c")) << "at the count: appended";
  EXPECT_EQ(LB_ERR, list.InsertString(4, "x"));
  EXPECT_EQ(LB_ERR, list.InsertString(-2, "x"));
  EXPECT_EQ(LB_ERR, list.DeleteString(3));
  EXPECT_EQ(LB_ERR, list.DeleteString(-1));
  char buffer[8] = "keep";
  EXPECT_EQ(LB_ERR, list.GetText(3, buffer));
  EXPECT_EQ(LB_ERR, list.GetText(-1, buffer));
  EXPECT_STREQ("keep", buffer) << "a failed LB_GETTEXT writes nothing";
  EXPECT_EQ(1, list.GetText(1, buffer));
  EXPECT_EQ(LB_ERR, list.GetTextLen(3));
  EXPECT_EQ(LB_ERR, list.SetCurSel(3));
  EXPECT_EQ(2, list.DeleteString(0)) << "rows left";
  EXPECT_EQ("b|c", Shown(D()));
}

// A deletion waits for an insert at its index; any other message must still see it done.
TEST_P(ListBoxContract, DeletionIsCompleteWhateverComesNext) {
  ListBoxMessages list(D());
  list.AddRows({"a", "b", "c"});
  list.DeleteString(1);
  char buffer[8] = {};
  list.GetText(1, buffer);
  EXPECT_STREQ("c", buffer);
  list.DeleteString(0);
  list.InsertString(1, "x");  // not where the deletion was
  EXPECT_EQ("c|x", Shown(D()));
  list.DeleteString(1);
  list.AddString("y");
  EXPECT_EQ("c|y", Shown(D()));
  list.DeleteString(0);
  list.ResetContent();
  list.AddString("z");
  EXPECT_EQ("z", Shown(D()));
}

}  // namespace
}  // namespace contract
