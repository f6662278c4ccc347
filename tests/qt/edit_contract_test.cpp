// The edit control's contract, run against the core alone and again through the Qt widgets:
// typing, the byte limit, text set by the program, selection, copy and the order of the
// focus notifications must come out the same.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "platform/clipboard.h"
#include "platform/edit.h"
#include "platform/encoding.h"
#include "platform/headless_backend.h"
#include "platform/user_input.h"
#include "test_dialogs.h"

namespace {

using namespace qt_test;

enum class Side { Core, Qt };

class EditContract : public ::testing::TestWithParam<Side> {
 protected:
  void SetUp() override {
    if (GetParam() == Side::Core) headless_ = std::make_unique<platform::HeadlessBackend>();
    ASSERT_TRUE(dialog_.Create(kFormDialog));
    edit_.Attach(dialog_.Item(kEdit));
    if (GetParam() == Side::Qt) {
      ASSERT_TRUE(Activate(dialog_.m_hWnd));
    }
  }
  void TearDown() override {
    dialog_.DestroyWindow();
    headless_.reset();
  }

  QLineEdit* Widget(int id) { return qobject_cast<QLineEdit*>(WidgetOf(dialog_.Item(id))); }

  // A click into the edit (at its end).
  void PersonFocuses(int id) {
    if (GetParam() == Side::Core) {
      platform::user::Focus(dialog_.Item(id));
      return;
    }
    QLineEdit* line = Widget(id);
    QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(line->width() - 3, line->height() / 2));
  }
  // Keys, one at a time (ASCII).
  void PersonTypes(const std::string& keys) {
    PersonFocuses(kEdit);
    for (char key : keys) {
      if (GetParam() == Side::Core) {
        platform::user::Type(dialog_.Item(kEdit), std::string(1, key));
      } else {
        QTest::keyClick(Widget(kEdit), key);
      }
    }
  }
  // What an input method commits at once (Japanese, or anything else).
  void PersonCommits(const char* utf8) {
    if (GetParam() == Side::Core) {
      // Nothing reaches the core that it cannot hold.
      if (auto bytes = platform::Utf8ToCp932(utf8))
        platform::user::Type(dialog_.Item(kEdit), *bytes);
      return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8(utf8));
    QCoreApplication::sendEvent(Widget(kEdit), &commit);
  }
  void PersonPastes(const char* utf8) {
    if (GetParam() == Side::Core) {
      platform::user::Type(dialog_.Item(kEdit), Sjis(utf8));
      return;
    }
    QGuiApplication::clipboard()->setText(QString::fromUtf8(utf8));
    QTest::keyClick(Widget(kEdit), Qt::Key_V, Qt::ControlModifier);
  }

  // What a person sees: the text, the selection in brackets or the caret as '|'.
  std::string Shown() {
    QString text;
    int start = 0;
    int end = 0;
    if (GetParam() == Side::Core) {
      auto* edit = static_cast<platform::EditWindow*>(dialog_.Item(kEdit));
      const std::string& bytes = edit->Text();
      text = QString::fromStdString(platform::Cp932ToUtf8(bytes));
      start = static_cast<int>(
          QString::fromStdString(platform::Cp932ToUtf8(bytes.substr(0, edit->SelectionStart())))
              .size());
      end = static_cast<int>(
          QString::fromStdString(platform::Cp932ToUtf8(bytes.substr(0, edit->SelectionEnd())))
              .size());
    } else {
      QLineEdit* line = Widget(kEdit);
      text = line->text();
      start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
      end = line->hasSelectedText() ? start + static_cast<int>(line->selectedText().size()) : start;
    }
    if (start == end) return (text.left(start) + "|" + text.mid(start)).toStdString();
    return (text.left(start) + "[" + text.mid(start, end - start) + "]" + text.mid(end))
        .toStdString();
  }
  std::string CoreText() { return dialog_.Item(kEdit)->Text(); }

  std::unique_ptr<platform::HeadlessBackend> headless_;
  TestDialog dialog_{kFormDialog};
  CEdit edit_;
};

TEST_P(EditContract, TypingStopsAtTheLimitWithMaxText) {
  edit_.LimitText(3);
  PersonTypes("abcde");
  EXPECT_EQ("abc|", Shown());
  EXPECT_EQ(3, CountNotes(dialog_, kEdit, EN_CHANGE));
  EXPECT_EQ(2, CountNotes(dialog_, kEdit, EN_MAXTEXT));
}

TEST_P(EditContract, FullWidthCharactersCountTwoBytesAndAreNeverCutInHalf) {
  edit_.LimitText(5);
  PersonTypes("a");
  PersonCommits("東京都");  // 6 bytes into 4 of room: 東京 fits, 都 does not
  EXPECT_EQ("a東京|", Shown());
  EXPECT_EQ(Sjis("a東京"), CoreText());
  EXPECT_EQ(1, CountNotes(dialog_, kEdit, EN_MAXTEXT));
}

TEST_P(EditContract, PasteObeysTheLimit) {
  edit_.LimitText(4);
  PersonFocuses(kEdit);
  PersonPastes("千代田区");
  EXPECT_EQ("千代|", Shown());
  EXPECT_EQ(1, CountNotes(dialog_, kEdit, EN_MAXTEXT));
}

TEST_P(EditContract, CharacterWithoutCp932FormIsRefusedNotChanged) {
  PersonTypes("a");
  PersonCommits("é😀");
  EXPECT_EQ("a|", Shown());
  EXPECT_EQ("a", CoreText());
  EXPECT_EQ(1, CountNotes(dialog_, kEdit, EN_CHANGE));
}

TEST_P(EditContract, TextSetByTheProgramIsNotLimited) {
  edit_.LimitText(3);
  edit_.SetWindowText(Sjis("東京都千代田区").c_str());
  EXPECT_EQ("|東京都千代田区", Shown());
  EXPECT_EQ(0, CountNotes(dialog_, kEdit, EN_MAXTEXT));
}

TEST_P(EditContract, SelectAllAndCopyPutTheTextOnTheClipboard) {
  edit_.SetWindowText(Sjis("東京都").c_str());
  edit_.SetSel(0, -1);
  EXPECT_EQ("[東京都]", Shown());
  edit_.Copy();
  EXPECT_EQ(Sjis("東京都"), platform::ClipboardText());
  if (GetParam() == Side::Qt) {
    EXPECT_EQ("東京都", QGuiApplication::clipboard()->text().toStdString());
  }
  edit_.SetSel(-1, 0);  // no selection; the caret stays at the end
  EXPECT_EQ("東京都|", Shown());
}

TEST_P(EditContract, FocusMoveNotifiesTheLoserFirst) {
  PersonFocuses(kEdit);
  dialog_.notes.clear();
  PersonFocuses(kRightEdit);
  const std::vector<std::pair<int, WORD>> expected{{kEdit, EN_KILLFOCUS},
                                                   {kRightEdit, EN_SETFOCUS}};
  EXPECT_EQ(expected, dialog_.notes);
}

INSTANTIATE_TEST_SUITE_P(Backends, EditContract, ::testing::Values(Side::Core, Side::Qt),
                         [](const auto& info) { return info.param == Side::Core ? "Core" : "Qt"; });

}  // namespace
