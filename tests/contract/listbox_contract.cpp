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

// The selection and caret a person sees and the LBN_SELCHANGE sent so far, in one line.
std::string State(Driver& driver) {
  int changes = 0;
  for (const Note& note : driver.Notes()) changes += note == Note{kList, LBN_SELCHANGE} ? 1 : 0;
  return "selected " + std::to_string(driver.SelectedRow(kList)) + ", caret " +
         std::to_string(driver.CaretRow(kList)) + ", " + std::to_string(changes) + " changes";
}

std::string State(int selected, int caret, int changes) {
  return "selected " + std::to_string(selected) + ", caret " + std::to_string(caret) + ", " +
         std::to_string(changes) + " changes";
}

// Whether a person sees the row whole.
bool InView(Driver& driver, int row) {
  const int top = driver.TopRow(kList);
  return top <= row && row < top + driver.FullyVisibleRows(kList);
}

void AddNumberedRows(ListBoxMessages& list, int count) {
  for (int i = 0; i < count; ++i) list.AddString("row " + std::to_string(i));
}

TEST_P(ListBoxContract, MessagesShowRowsInTheirOrder) {
  ListBoxMessages list(D());
  list.AddString("b");
  list.AddString(D().Cp932("東京都"));
  list.InsertString(0, "a");
  list.InsertString(-1, "z");
  list.DeleteString(2);
  list.AddString("cut\x82");  // a double-byte character cut in half
  EXPECT_EQ("a|b|z|cut" + D().BrokenCharacterShownAs(), Shown(D()));
  EXPECT_EQ(4, list.GetCount());
}

TEST_P(ListBoxContract, ProgramsSelectionMovesTheCaretAndNeverNotifies) {
  ListBoxMessages list(D());
  list.AddRows({"a", "b", "c", "d"});
  EXPECT_EQ(State(-1, 0, 0), State(D())) << "the caret starts on row 0";
  EXPECT_EQ(2, list.SetCurSel(2));
  EXPECT_EQ("a|b|[c]|d", Shown(D()));
  EXPECT_EQ(State(2, 2, 0), State(D()));
  list.SetCurSel(-1);
  EXPECT_EQ(State(-1, 2, 0), State(D())) << "no selection: the caret stays";
  D().ClickRow(kList, 1);
  list.SetCurSel(0);
  EXPECT_EQ("[a]|b|c|d", Shown(D()));
  EXPECT_EQ(State(0, 0, 1), State(D()));
  EXPECT_EQ(0, list.GetCurSel());
}

TEST_P(ListBoxContract, KeysDoNothingInAnEmptyBox) {
  for (UINT vk :
       {VK_DOWN, VK_UP, VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_SPACE}) {
    D().PressKey(kList, vk);
  }
  EXPECT_EQ(LB_ERR, ListBoxMessages(D()).GetCurSel());
  EXPECT_EQ(0, CountNotes(kList, LBN_SELCHANGE));
}

// Up and Down (and Left and Right, there being no horizontal scroll bar) select the caret row
// itself while it is not selected, and move one row, clamped, once it is.
TEST_P(ListBoxContract, ArrowsFirstSelectTheCaretRowThenMoveOneRowClamped) {
  ListBoxMessages list(D());
  list.AddRows({"a", "b", "c", "d", "e"});
  D().PressKey(kList, VK_DOWN);
  EXPECT_EQ("[a]|b|c|d|e", Shown(D())) << "the first Down selects row 0";
  EXPECT_EQ(State(0, 0, 1), State(D()));
  D().PressKey(kList, VK_DOWN);
  EXPECT_EQ(State(1, 1, 2), State(D()));
  D().PressKey(kList, VK_RIGHT);
  EXPECT_EQ(State(2, 2, 3), State(D()));
  D().PressKey(kList, VK_LEFT);
  D().PressKey(kList, VK_UP);
  EXPECT_EQ(State(0, 0, 5), State(D()));

  list.SetCurSel(3);
  list.SetCurSel(-1);  // the caret stays on row 3, not selected
  D().PressKey(kList, VK_UP);
  EXPECT_EQ(State(3, 3, 6), State(D())) << "Up selects the caret row itself";
  list.SetCurSel(-1);
  D().PressKey(kList, VK_LEFT);
  EXPECT_EQ(State(3, 3, 7), State(D())) << "and so does Left";
  D().PressKey(kList, VK_DOWN);
  D().PressKey(kList, VK_DOWN);
  EXPECT_EQ("a|b|c|d|[e]", Shown(D()));
  const int renotified = D().RenotifiesKeyOnSelectedRow(VK_DOWN) ? 1 : 0;
  EXPECT_EQ(State(4, 4, 8 + renotified), State(D())) << "clamped at the last row";
}

// Home and End go to the ends, Page Up and Page Down by the rows a person sees whole less one,
// clamped; Space selects the caret row. Each target is scrolled into view.
TEST_P(ListBoxContract, HomeEndPagesAndSpaceReachTheirRowsInView) {
  ListBoxMessages list(D());
  AddNumberedRows(list, 30);
  const int page = D().FullyVisibleRows(kList);
  ASSERT_LE(2, page) << "the form's list shows rows";
  const int step = page - 1;
  D().PressKey(kList, VK_SPACE);
  EXPECT_EQ(State(0, 0, 1), State(D())) << "Space selects the caret row";
  D().PressKey(kList, VK_END);
  EXPECT_EQ(State(29, 29, 2), State(D()));
  EXPECT_TRUE(InView(D(), 29)) << "top row " << D().TopRow(kList);
  D().PressKey(kList, VK_HOME);
  EXPECT_EQ(State(0, 0, 3), State(D()));
  EXPECT_EQ(0, D().TopRow(kList));
  D().PressKey(kList, VK_NEXT);
  D().PressKey(kList, VK_NEXT);
  EXPECT_EQ(State(2 * step, 2 * step, 5), State(D()));
  EXPECT_TRUE(InView(D(), 2 * step)) << "top row " << D().TopRow(kList);
  D().PressKey(kList, VK_PRIOR);
  EXPECT_EQ(State(step, step, 6), State(D()));
  D().PressKey(kList, VK_END);
  D().PressKey(kList, VK_PRIOR);
  EXPECT_EQ(State(29 - step, 29 - step, 8), State(D()));
  D().PressKey(kList, VK_NEXT);
  EXPECT_EQ(State(29, 29, 9), State(D())) << "clamped at the last row";
  list.SetCurSel(1);
  D().PressKey(kList, VK_PRIOR);
  EXPECT_EQ(State(0, 0, 10), State(D())) << "clamped at the first row";
}

// A key whose target is the row already selected changes nothing and, classically, sends
// nothing.
TEST_P(ListBoxContract, AKeyLandingOnTheSelectedRowSendsNothing) {
  ListBoxMessages list(D());
  list.AddRows({"a", "b", "c"});
  list.SetCurSel(0);
  const std::vector<UINT> at_first{VK_HOME, VK_UP, VK_LEFT, VK_PRIOR, VK_SPACE};
  for (UINT vk : at_first) D().PressKey(kList, vk);
  list.SetCurSel(2);
  const std::vector<UINT> at_last{VK_END, VK_DOWN, VK_RIGHT, VK_NEXT, VK_SPACE};
  for (UINT vk : at_last) D().PressKey(kList, vk);
  EXPECT_EQ("a|b|[c]", Shown(D()));
  int expected = 0;
  for (UINT vk : at_first) expected += D().RenotifiesKeyOnSelectedRow(vk) ? 1 : 0;
  for (UINT vk : at_last) expected += D().RenotifiesKeyOnSelectedRow(vk) ? 1 : 0;
  EXPECT_EQ(State(2, 2, expected), State(D()));
}

// The button selects the row it goes down on; its release notifies, also when the row was
// selected before, so that a program fills its fields again.
TEST_P(ListBoxContract, AClickSelectsOnPressAndNotifiesOnReleaseEvenOnTheSelectedRow) {
  ListBoxMessages list(D());
  list.AddRows({"a", "b", "c", "d"});
  D().PressRow(kList, 2);
  EXPECT_EQ("a|b|[c]|d", Shown(D()));
  EXPECT_EQ(State(2, 2, 0), State(D())) << "nothing sent while the button is down";
  D().ReleaseButton(kList);
  EXPECT_EQ(State(2, 2, 1), State(D()));
  D().ClickRow(kList, 2);
  EXPECT_EQ(State(2, 2, 2), State(D())) << "a second click on the selected row notifies again";
  D().PressKey(kList, VK_DOWN);
  EXPECT_EQ(State(3, 3, 3), State(D())) << "keys go on from the clicked row";
  D().ClearNotes();
  D().DoubleClickRow(kList, 1);
  EXPECT_EQ("a|[b]|c|d", Shown(D()));
  const std::vector<Note> double_click{{kList, LBN_SELCHANGE}, {kList, LBN_DBLCLK}};
  EXPECT_EQ(double_click, D().Notes());
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
