// The edit control's contract: typing, the byte limit, text set by the program, selection,
// copy and the order of the focus notifications must come out the same on every backend.
#include <string>
#include <vector>

#include "contract_driver.h"

namespace contract {
namespace {

// What a person sees: the text, the selection in brackets or the caret as '|'.
std::string Shown(Driver& driver, int edit = kEdit) {
  const EditView view = driver.ShownEdit(edit);
  const std::string& text = view.text;
  if (view.start == view.end) {
    return text.substr(0, view.start) + "|" + text.substr(view.start);
  }
  return text.substr(0, view.start) + "[" + text.substr(view.start, view.end - view.start) + "]" +
         text.substr(view.end);
}

// The text as the program reads it back (CP932).
std::string ProgramText(Driver& driver) {
  char buffer[64] = {};
  driver.Send(kEdit, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

void LimitText(Driver& driver, int bytes) {
  driver.Send(kEdit, EM_LIMITTEXT, static_cast<WPARAM>(bytes), 0);
}

TEST_P(EditContract, TypingStopsAtTheLimitWithMaxText) {
  LimitText(D(), 3);
  D().Type(kEdit, "abcde");
  EXPECT_EQ("abc|", Shown(D()));
  EXPECT_EQ(D().NotifiesChangeOnRefusedKey() ? 5 : 3, CountNotes(kEdit, EN_CHANGE));
  EXPECT_EQ(2, CountNotes(kEdit, EN_MAXTEXT));
}

TEST_P(EditContract, FullWidthCharactersCountTwoBytesAndAreNeverCutInHalf) {
  if (const std::string why = D().EditKeepsUtf16(); !why.empty()) GTEST_SKIP() << why;
  LimitText(D(), 5);
  D().Type(kEdit, "a");
  D().Commit(kEdit, "東京都");  // 6 bytes into 4 of room: 東京 fits, 都 does not
  EXPECT_EQ("a東京|", Shown(D()));
  EXPECT_EQ(D().Cp932("a東京"), ProgramText(D()));
  EXPECT_EQ(1, CountNotes(kEdit, EN_MAXTEXT));
}

TEST_P(EditContract, PasteObeysTheLimit) {
  if (const std::string why = D().EditKeepsUtf16(); !why.empty()) GTEST_SKIP() << why;
  LimitText(D(), 4);
  D().Focus(kEdit);
  D().Paste(kEdit, "千代田区");
  EXPECT_EQ("千代|", Shown(D()));
  EXPECT_EQ(1, CountNotes(kEdit, EN_MAXTEXT));
}

TEST_P(EditContract, CharacterWithoutCp932FormIsRefusedNotChanged) {
  D().Type(kEdit, "a");
  D().Commit(kEdit, "é😀");
  EXPECT_EQ("a|", Shown(D()));
  EXPECT_EQ("a", ProgramText(D()));
  EXPECT_EQ(1, CountNotes(kEdit, EN_CHANGE));
}

TEST_P(EditContract, TextSetByTheProgramIsNotLimited) {
  LimitText(D(), 3);
  const std::string text = D().Cp932("東京都千代田区");
  D().Send(kEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  EXPECT_EQ("|東京都千代田区", Shown(D()));
  EXPECT_EQ(0, CountNotes(kEdit, EN_MAXTEXT));
}

TEST_P(EditContract, SelectAllAndCopyPutTheTextOnTheClipboard) {
  const std::string text = D().Cp932("東京都");
  D().Send(kEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  D().Send(kEdit, EM_SETSEL, 0, -1);
  EXPECT_EQ("[東京都]", Shown(D()));
  D().Send(kEdit, WM_COPY, 0, 0);
  EXPECT_EQ("東京都", D().Clipboard());
  D().Send(kEdit, EM_SETSEL, static_cast<WPARAM>(-1), 0);  // no selection; the caret stays
  EXPECT_EQ("東京都|", Shown(D()));
}

TEST_P(EditContract, FocusMoveNotifiesTheLoserFirst) {
  D().Focus(kEdit);
  D().ClearNotes();
  D().Focus(kRightEdit);
  const std::vector<Note> expected{{kEdit, EN_KILLFOCUS}, {kRightEdit, EN_SETFOCUS}};
  EXPECT_EQ(expected, D().Notes());
}

}  // namespace
}  // namespace contract
