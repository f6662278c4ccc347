// Dialogs and the window manager: a dialog that names no parent belongs to the main window, is
// a dialog transient for it, and cannot be lost by minimising it while its owner waits.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <QWindow>

#include "test_dialogs.h"

namespace {

using namespace qt_test;

TEST(OwnedDialogTest, ModalDialogIsTransientForTheMainWindowAndComesBackWithIt) {
  CWinApp app;
  TestDialog menu(kFormDialog);
  app.m_pMainWnd = &menu;
  bool is_dialog = false;
  bool transient = false;
  bool menu_is_plain_window = false;
  bool minimised = false;
  bool restored = false;
  bool active_again = false;
  RunModal(menu, [&](QWidget* menu_widget) {
    menu_is_plain_window = menu_widget->windowType() == Qt::Window;
    TestDialog search(kAboutDialog);  // names no parent
    RunModal(search, [&](QWidget* search_widget) {
      is_dialog = search_widget->windowType() == Qt::Dialog;
      transient = search_widget->windowHandle() != nullptr &&
                  search_widget->windowHandle()->transientParent() == menu_widget->windowHandle();
      // A window manager that minimises it anyway, and the person who then goes to the menu.
      search_widget->showMinimized();
      minimised = QTest::qWaitFor([&] { return search_widget->isMinimized(); }, 2000);
      menu_widget->activateWindow();
      restored = QTest::qWaitFor([&] { return !search_widget->isMinimized(); }, 2000);
      active_again = QTest::qWaitFor([&] { return search_widget->isActiveWindow(); }, 2000);
      search.EndDialog(0);
    });
    menu.EndDialog(0);
  });
  EXPECT_TRUE(menu_is_plain_window);
  EXPECT_TRUE(is_dialog);
  EXPECT_TRUE(transient);
  ASSERT_TRUE(minimised);
  EXPECT_TRUE(restored);
  EXPECT_TRUE(active_again);
}

}  // namespace
