// The edit widget beyond the shared contract: positions inside Japanese text, bytes that are
// not CP932 kept as they are, the input method's switch, the system clipboard, and the edit's
// own context menu in Japanese.
#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "platform/clipboard.h"
#include "platform/edit.h"
#include "platform/ime.h"
#include "test_dialogs.h"

namespace {

using namespace qt_test;

class EditWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog_.Create(kFormDialog));
    ASSERT_TRUE(Activate(dialog_.m_hWnd));
    line_ = qobject_cast<QLineEdit*>(WidgetOf(dialog_.Item(kEdit)));
    ASSERT_NE(nullptr, line_);
    QTest::mouseClick(line_, Qt::LeftButton);
  }
  void TearDown() override { dialog_.DestroyWindow(); }

  void Commit(const char* utf8) {
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8(utf8));
    QCoreApplication::sendEvent(line_, &commit);
  }
  bool ImEnabled() {
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(line_, &query);
    return query.value(Qt::ImEnabled).toBool();
  }
  platform::EditWindow* Core() { return static_cast<platform::EditWindow*>(dialog_.Item(kEdit)); }

  TestDialog dialog_{kFormDialog};
  QLineEdit* line_ = nullptr;
};

TEST_F(EditWidgetTest, TypingBetweenFullWidthCharactersLandsOnTheRightBytes) {
  Commit("東京");
  QTest::keyClick(line_, Qt::Key_Home);
  QTest::keyClick(line_, Qt::Key_Right);
  EXPECT_EQ(2, Core()->SelectionStart());  // after one double-byte character
  Commit("都");
  QTest::keyClick(line_, Qt::Key_A);
  EXPECT_EQ(Cp932("東都a京"), Core()->Text());
  EXPECT_EQ(5, Core()->SelectionEnd());
  EXPECT_EQ(3, line_->cursorPosition());
  QTest::keyClick(line_, Qt::Key_End);
  QTest::keyClick(line_, Qt::Key_Backspace);  // one key takes both bytes of 京
  EXPECT_EQ(Cp932("東都a"), Core()->Text());
  QTest::keyClick(line_, Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(0, Core()->SelectionStart());
  EXPECT_EQ(5, Core()->SelectionEnd());
}

TEST_F(EditWidgetTest, BytesThatAreNotCp932SurviveAnEditElsewhere) {
  ::SendMessageA(dialog_.Item(kEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ab\x82"));
  EXPECT_EQ(QString::fromUtf8("ab\uFFFD"), line_->text());
  QTest::keyClick(line_, Qt::Key_Home);
  QTest::keyClick(line_, Qt::Key_C);
  EXPECT_EQ("cab\x82", Core()->Text());
}

TEST_F(EditWidgetTest, InputMethodAllowedOnlyWhileTheDialogsContextIsOpen) {
  EXPECT_FALSE(ImEnabled());  // no context at all
  HIMC context = ImmGetContext(dialog_.m_hWnd);
  EXPECT_FALSE(ImEnabled());
  ImmSetOpenStatus(context, TRUE);
  EXPECT_TRUE(ImEnabled());
  ImmSetOpenStatus(context, FALSE);
  EXPECT_FALSE(ImEnabled());
  ImmReleaseContext(dialog_.m_hWnd, context);
}

TEST_F(EditWidgetTest, CopiesReachTheSystemClipboardAsUnicode) {
  platform::SetClipboardText(Cp932("千代田区"));
  EXPECT_EQ("千代田区", QGuiApplication::clipboard()->text().toStdString());
  Commit("東京都");
  QTest::keyClick(line_, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(line_, Qt::Key_C, Qt::ControlModifier);  // the control's WM_COPY
  EXPECT_EQ(Cp932("東京都"), platform::ClipboardText());
  EXPECT_EQ("東京都", QGuiApplication::clipboard()->text().toStdString());
}

TEST_F(EditWidgetTest, OwnContextMenuSpeaksJapanese) {
  Commit("東京都");
  QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                            line_->mapToGlobal(QPoint(5, 5)));
  QCoreApplication::sendEvent(line_, &request);
  QMenu* menu = nullptr;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; },
      2000));
  const QStringList english{"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "Delete", "Select All"};
  QStringList texts;
  for (QAction* action : menu->actions()) {
    if (!action->isSeparator()) texts << action->text().section(QLatin1Char('\t'), 0, 0);
  }
  menu->close();
  ASSERT_LE(english.size(), texts.size());
  for (const QString& text : texts) {
    EXPECT_FALSE(english.contains(text)) << text.toStdString();
    // Qt's own translation, in full-width letters.
    EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](QChar c) {
      return c.unicode() >= 0x3000;
    })) << text.toStdString();
  }
  EXPECT_TRUE(texts.contains(QCoreApplication::translate("QLineEdit", "&Paste")));
}

}  // namespace
