// A person at a modal dialog: the keyboard of a classic dialog (not Qt's), the close box and
// Alt+F4, the system-menu substitute, the owner disabled meanwhile, and message boxes.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/dialogwindow.h"
#include "test_dialogs.h"

namespace {

using namespace qt_test;

// Where a key goes: the focused widget of the active window.
QWidget* Focused() {
  QWidget* focus = QApplication::focusWidget();
  return focus != nullptr ? focus : QApplication::activeWindow();
}

// The popup menu open now, after the events that open it.
QMenu* OpenMenu() {
  QMenu* menu = nullptr;
  static_cast<void>(QTest::qWaitFor(
      [&] {
        menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu != nullptr;
      },
      2000));
  return menu;
}

TEST(KeyboardTest, EnterAndEscDoNotEndTheDialogOnlyItsButtonDoes) {
  TestDialog dialog(kFormDialog);
  bool still_open = false;
  const int result = RunModal(dialog, [&](QWidget* widget) {
    QTest::keyClick(Focused(), Qt::Key_Escape);
    QTest::keyClick(Focused(), Qt::Key_Return);
    widget->close();  // the close box: OnCancel does nothing here
    QTest::keyClick(Focused(), Qt::Key_F4, Qt::AltModifier);
    still_open = widget->isVisible();
    QTest::mouseClick(WidgetOf(dialog.Item(kEnd)), Qt::LeftButton);
  });
  EXPECT_TRUE(still_open);
  EXPECT_EQ(kEndResult, result);
}

TEST(KeyboardTest, ClassicKeysEndTheDialogThroughTheCore) {
  TestDialog by_escape(kFormDialog, nullptr, true);
  EXPECT_EQ(IDCANCEL,
            RunModal(by_escape, [](QWidget*) { QTest::keyClick(Focused(), Qt::Key_Escape); }));
  TestDialog by_close_box(kFormDialog, nullptr, true);
  EXPECT_EQ(IDCANCEL, RunModal(by_close_box, [](QWidget* widget) { widget->close(); }));
  TestDialog by_enter(kFormDialog, nullptr, true);
  EXPECT_EQ(IDOK, RunModal(by_enter, [](QWidget*) { QTest::keyClick(Focused(), Qt::Key_Return); }));
}

TEST(KeyboardTest, TabFollowsTheCoresTabStopsAndButtonsPressOnce) {
  TestDialog dialog(kFormDialog);
  std::vector<int> visited;
  int presses_by_space = 0;
  int presses_by_enter = 0;
  RunModal(dialog, [&](QWidget*) {
    const auto where = [&] {
      platform::Window* focus = static_cast<platform::DialogWindow*>(dialog.m_hWnd)->Focus();
      visited.push_back(focus != nullptr ? focus->Id() : 0);
    };
    where();
    // 103 is focusable and next in Qt's chain, but has no tab stop.
    for (int i = 0; i < 3; ++i) {
      QTest::keyClick(Focused(), Qt::Key_Tab);
      where();
    }
    QTest::keyClick(Focused(), Qt::Key_Backtab);
    where();
    QTest::keyClick(Focused(), Qt::Key_Space);
    presses_by_space = dialog.presses;
    QTest::keyClick(Focused(), Qt::Key_Return);
    presses_by_enter = dialog.presses - presses_by_space;
    dialog.EndDialog(0);
  });
  const std::vector<int> expected{kEdit, kRightEdit, kList, kPress, kList};
  EXPECT_EQ(expected, visited);
  EXPECT_EQ(0, presses_by_space);  // the list had the focus: Space is the list's
  EXPECT_EQ(0, presses_by_enter);

  TestDialog buttons(kFormDialog);
  RunModal(buttons, [&](QWidget*) {
    QTest::mouseClick(WidgetOf(buttons.Item(kPress)), Qt::LeftButton);
    QTest::keyClick(Focused(), Qt::Key_Space);
    QTest::keyClick(Focused(), Qt::Key_Return);
    buttons.EndDialog(0);
  });
  EXPECT_EQ(3, buttons.presses);
}

TEST(KeyboardTest, SystemMenuSubstituteOpensAndSendsTheCommand) {
  TestDialog dialog(kFormDialog);
  std::vector<std::string> items;
  RunModal(dialog, [&](QWidget* widget) {
    // A right click on the background (Qt turns the click into this event).
    QContextMenuEvent menu_request(QContextMenuEvent::Mouse, QPoint(290, 5),
                                   widget->mapToGlobal(QPoint(290, 5)));
    QCoreApplication::sendEvent(widget, &menu_request);
    QMenu* menu = OpenMenu();
    if (menu == nullptr) return;
    for (QAction* action : menu->actions()) {
      items.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    }
    menu->actions().last()->trigger();
    menu->close();
    static_cast<void>(QTest::qWaitFor([&] { return !dialog.system_commands.empty(); }, 2000));
    // Shift+F10 opens it from the keyboard.
    QTest::keyClick(WidgetOf(dialog.Item(kEdit)), Qt::Key_F10, Qt::ShiftModifier);
    if (QMenu* again = OpenMenu())
      again->close();
    else
      items.push_back("no menu from Shift+F10");
    dialog.EndDialog(0);
  });
  const std::vector<std::string> expected{"移動(&M)", "閉じる(&C)", "-",
                                          "Morvane のﾊﾞｰｼﾞｮﾝ情報(&A)..."};
  EXPECT_EQ(expected, items);
  EXPECT_EQ(std::vector<UINT>{kAppendedCommand}, dialog.system_commands);
}

TEST(KeyboardTest, OwnerIsDisabledUnderAModalDialogAndMessageBoxesBlock) {
  TestDialog owner(kFormDialog);
  bool owner_enabled_during = true;
  bool owner_enabled_after = false;
  std::string box_title, box_text;
  int box_buttons = 0;
  RunModal(owner, [&](QWidget* owner_widget) {
    TestDialog child(kAboutDialog, &owner);
    RunModal(child, [&](QWidget*) {
      owner_enabled_during = owner_widget->isEnabled();
      // Answered from inside the box's own loop.
      QTimer::singleShot(0, [&] {
        static_cast<void>(
            QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 2000));
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
          box_title = box->windowTitle().toStdString();
          box_text = box->text().toStdString();
          box_buttons = static_cast<int>(box->buttons().size());
          box->accept();
        }
      });
      AfxMessageBox(Cp932("ファイルがありません。").c_str(), MB_OK);
      child.EndDialog(0);
    });
    owner_enabled_after = owner_widget->isEnabled();
    owner.EndDialog(0);
  });
  EXPECT_FALSE(owner_enabled_during);
  EXPECT_TRUE(owner_enabled_after);
  EXPECT_EQ(platform::ApplicationName(), box_title);
  EXPECT_EQ("ファイルがありません。", box_text);
  EXPECT_EQ(1, box_buttons);
}

}  // namespace
