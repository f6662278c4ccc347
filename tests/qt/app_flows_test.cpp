// The program's own dialogs through the Qt backend, offscreen, driven with real mouse clicks,
// key presses and input-method commits: the main menu, the About box from the system-menu
// substitute, a search by code with a field and the row's code copied to the system clipboard,
// and a search by name with the input method following the focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>

#include "morvane_app.h"
#include "orvek/orvek.h"
#include "platform/dialogwindow.h"
#include "platform/qt_backend.h"
#include "test_support.h"

namespace {

// Steps a person takes, each when a given dialog is the active window on the screen.
class Person {
 public:
  Person& When(int template_id, std::function<void(QWidget*)> step) {
    steps_.push_back({template_id, std::move(step)});
    return *this;
  }

  // Runs the program from InitInstance; the steps run from inside its modal loops.
  void RunProgram() {
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (clock.elapsed() > 20000) return GiveUp("the program did not get through the steps");
      if (steps_.empty()) return;
      auto* active = static_cast<platform::DialogWindow*>(platform::ActiveWindow());
      QWidget* widget = platform::QtBackend::Instance()->WidgetOf(active);
      if (active == nullptr || widget == nullptr || active->TemplateId() != steps_.front().id ||
          !widget->isActiveWindow()) {
        if (widget != nullptr && !widget->isActiveWindow()) widget->activateWindow();
        return;
      }
      // Run from a timer of its own: the step may run a modal loop, and this timer must go on
      // firing inside it (Qt does not fire a timer again while its slot still runs).
      QTimer::singleShot(0, [run = std::move(steps_.front().run), widget] { run(widget); });
      steps_.pop_front();
    });
    poll.start(10);
    CMorvaneApp app;
    EXPECT_EQ(FALSE, app.InitInstance());
    EXPECT_EQ(0u, steps_.size()) << "the program ended before the person was done";
    EXPECT_EQ("", failure_);
  }

  static QWidget* Control(QWidget* dialog, int id) {
    auto* window = static_cast<platform::DialogWindow*>(platform::ActiveWindow());
    return dialog != nullptr ? platform::QtBackend::Instance()->WidgetOf(window->Child(id))
                             : nullptr;
  }
  static QWidget* Focused(QWidget* dialog) {
    return dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
  }
  static bool ImEnabled(QWidget* widget) {
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(widget, &query);
    return query.value(Qt::ImEnabled).toBool();
  }

 private:
  struct Step {
    int id;
    std::function<void(QWidget*)> run;
  };
  void GiveUp(const std::string& why) {
    if (failure_.empty()) failure_ = why;
    for (platform::Window* window : platform::TopLevelWindows()) {
      auto* dialog = static_cast<platform::DialogWindow*>(window);
      if (dialog->IsModal()) dialog->EndModal(-1);
    }
  }

  std::deque<Step> steps_;
  std::string failure_;
};

// Milliseconds of a call, for the speed figures printed below (never asserted).
double Milliseconds(const std::function<void()>& call) {
  const auto start = std::chrono::steady_clock::now();
  call();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

constexpr int kMainMenu = 102, kAbout = 100, kCodeSearch = 129, kNameSearch = 130;

class AppFlows : public ::testing::Test {
 protected:
  void SetUp() override { start_dir_ = std::filesystem::current_path(); }
  void TearDown() override {
    std::filesystem::current_path(start_dir_);
    EXPECT_EQ(0u, platform::TopLevelWindows().size());
  }
  static bool UseRealData() { return test_support::EnterDataDir(); }
  std::filesystem::path start_dir_;
};

TEST_F(AppFlows, MainMenuIgnoresEscOpensAboutFromItsMenuAndEndsByAltF4) {
  Person person;
  std::vector<std::string> menu_items;
  bool open_after_escape = false;
  person
      .When(kMainMenu,
            [&](QWidget* menu) {
              QTest::keyClick(Person::Focused(menu), Qt::Key_Escape);
              open_after_escape = menu->isVisible();
              QContextMenuEvent right_click(QContextMenuEvent::Mouse, QPoint(5, 5),
                                            menu->mapToGlobal(QPoint(5, 5)));
              QCoreApplication::sendEvent(menu, &right_click);
              auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
              if (popup == nullptr) return;
              for (QAction* action : popup->actions()) {
                menu_items.push_back(action->text().toStdString());
              }
              popup->actions().last()->trigger();
              popup->close();
            })
      .When(kAbout, [](QWidget* about) { QTest::keyClick(Person::Focused(about), Qt::Key_Return); })
      .When(kMainMenu, [](QWidget* menu) {
        QTest::keyClick(Person::Focused(menu), Qt::Key_F4, Qt::AltModifier);
      });
  person.RunProgram();
  EXPECT_TRUE(open_after_escape);
  const std::vector<std::string> expected{"移動(&M)", "閉じる(&C)", "",
                                          "Morvane のﾊﾞｰｼﾞｮﾝ情報(&A)..."};
  EXPECT_EQ(expected, menu_items);
}

TEST_F(AppFlows, CodeSearchWithKeysRowByClickFieldToTheClipboard) {
  if (!UseRealData()) GTEST_SKIP() << "no KEN_ALL.CSV in " << test_support::DataDir();
  Person person;
  int rows = 0;
  std::vector<std::string> copied;  // after a click on すべて, after Ctrl+C in the list
  person
      .When(kMainMenu,
            [](QWidget* menu) { QTest::keyClick(Person::Focused(menu), Qt::Key_Return); })
      .When(kCodeSearch, [&](QWidget* dialog) {
        QTest::keyClicks(Person::Focused(dialog), "100");  // box 1001 has the focus
        QTest::keyClick(Person::Focused(dialog), Qt::Key_Tab);
        QTest::keyClicks(Person::Focused(dialog), "0001");
        QTest::keyClick(Person::Focused(dialog), Qt::Key_Return);  // nothing: no default button
        auto* list = qobject_cast<QListView*>(Person::Control(dialog, 1005));
        const double shown = Milliseconds([&] {
          QTest::mouseClick(Person::Control(dialog, 1008), Qt::LeftButton);  // 検索
          QCoreApplication::processEvents();
          list->repaint();
        });
        rows = list->model()->rowCount();
        CListBox alone;
        alone.Create(0, RECT{0, 0, 10, 10}, nullptr, 1);
        char key[] = "\"1000001\"";
        const double library =
            Milliseconds([&] { COrvek_Bango_Kensaku().fnGetChimei(key, &alone); });
        std::printf(
            "code search: %.1f ms from the click to the rows shown, library alone %.1f ms\n", shown,
            library);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QTest::mouseClick(Person::Control(dialog, 1016), Qt::LeftButton);  // すべて
        copied.push_back(QGuiApplication::clipboard()->text().toStdString());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        copied.push_back(QGuiApplication::clipboard()->text().toStdString());
        QTest::mouseClick(Person::Control(dialog, 1007), Qt::LeftButton);  // 終了
      });
  person.RunProgram();
  EXPECT_EQ(1, rows);
  EXPECT_EQ((std::vector<std::string>{"東京都千代田区千代田", "100-0001"}), copied);
}

TEST_F(AppFlows, NameSearchTypedInJapaneseWithTheInputMethodFollowingTheFocus) {
  if (!UseRealData()) GTEST_SKIP() << "no KEN_ALL.CSV in " << test_support::DataDir();
  Person person;
  std::vector<bool> input_method;  // in 1001, in 1002, on 検索
  std::string count;
  person
      .When(kMainMenu,
            [](QWidget* menu) {
              QTest::keyClick(Person::Focused(menu), Qt::Key_Tab);
              QTest::keyClick(Person::Focused(menu), Qt::Key_Space);
            })
      .When(kNameSearch, [&](QWidget* dialog) {
        input_method.push_back(Person::ImEnabled(Person::Focused(dialog)));
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8("北海道"));
        QCoreApplication::sendEvent(Person::Focused(dialog), &commit);
        QTest::keyClick(Person::Focused(dialog), Qt::Key_Tab);
        input_method.push_back(Person::ImEnabled(Person::Focused(dialog)));
        QTest::keyClick(Person::Focused(dialog), Qt::Key_Tab);
        QTest::keyClick(Person::Focused(dialog), Qt::Key_Tab);
        input_method.push_back(Person::ImEnabled(Person::Control(dialog, 1001)));
        auto* list = qobject_cast<QListView*>(Person::Control(dialog, 1005));
        const double shown = Milliseconds([&] {
          QTest::keyClick(Person::Focused(dialog), Qt::Key_Space);  // 検索 has the focus now
          QCoreApplication::processEvents();
          list->repaint();
        });
        count = qobject_cast<QLabel*>(Person::Control(dialog, 1009))->text().toStdString();
        CListBox alone;
        alone.Create(0, RECT{0, 0, 10, 10}, nullptr, 1);
        char pref[] = "\"\x96k\x8A\x43\x93\xB9\"";  // "北海道" in CP932
        char none[] = "";
        const double library =
            Milliseconds([&] { COrvek_Bango_Kensaku().fnGetOrvek(pref, none, none, 5, &alone); });
        char code[] = "\"1000001\"";
        const double code_search =
            Milliseconds([&] { COrvek_Bango_Kensaku().fnGetChimei(code, &alone); });
        std::printf(
            "name search, %d rows: %.1f ms from the key to the rows and count shown, "
            "library alone %.1f ms, its code search %.1f ms\n",
            alone.GetCount() - 1, shown, library, code_search);
        QTest::mouseClick(Person::Control(dialog, 1007), Qt::LeftButton);  // 終了
      });
  person.RunProgram();
  EXPECT_EQ((std::vector<bool>{true, true, false}), input_method);
  EXPECT_EQ(std::to_string(test_support::CountRealDataLinesWith(",\"北海道\",")) + "件", count);
}

}  // namespace
