// What assistive technology is told and what it may do: names, roles and label relations, the
// events a screen reader speaks from, and every way other than a key or a click by which a Qt
// view could change a text or a selection (accessibility, input method, drop, paste, undo),
// each of which must reach the core as a person's edit does or be refused.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QTest>
#include <algorithm>
#include <functional>
#include <vector>

#include "platform/edit.h"
#include "platform/listbox.h"
#include "test_dialogs.h"

// Qt sends accessibility events only while its platform bridge says assistive technology is
// listening, which on the offscreen platform nothing ever does. The bridge is switched on here
// through Qt's private API (exported, its headers not installed), so that the events a screen
// reader would get can be recorded.
class QPlatformAccessibility {
 public:
  void setActive(bool active);
};
class QPlatformIntegration {
 public:
  QPlatformAccessibility* accessibility() const;
};
class QGuiApplicationPrivate {
 public:
  static QPlatformIntegration* platform_integration;
};

namespace {

using namespace qt_test;

// Every accessibility event, as a platform bridge would get it.
std::vector<std::pair<QObject*, QAccessible::Event>>* g_events = nullptr;
std::vector<int>* g_focus_children = nullptr;

void RecordEvent(QAccessibleEvent* event) {
  if (g_events == nullptr) return;
  g_events->emplace_back(event->object(), event->type());
  if (event->type() == QAccessible::Focus) g_focus_children->push_back(event->child());
}

class AccessibilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QGuiApplicationPrivate::platform_integration->accessibility()->setActive(true);
    previous_ = QAccessible::installUpdateHandler(RecordEvent);
    g_events = &events_;
    g_focus_children = &focus_children_;
    ASSERT_TRUE(dialog_.Create(kFormDialog));
    ASSERT_TRUE(Activate(dialog_.m_hWnd));
    line_ = qobject_cast<QLineEdit*>(WidgetOf(dialog_.Item(kEdit)));
    view_ = qobject_cast<QListView*>(WidgetOf(dialog_.Item(kList)));
    ASSERT_NE(nullptr, line_);
    ASSERT_NE(nullptr, view_);
    list_.Attach(dialog_.Item(kList));
  }
  void TearDown() override {
    list_.Detach();
    dialog_.DestroyWindow();
    g_events = nullptr;
    g_focus_children = nullptr;
    QAccessible::installUpdateHandler(previous_);
    QGuiApplicationPrivate::platform_integration->accessibility()->setActive(false);
  }

  QAccessibleInterface* Of(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget);
  }
  platform::EditWindow* Edit() { return static_cast<platform::EditWindow*>(dialog_.Item(kEdit)); }
  platform::ListBoxWindow* List() {
    return static_cast<platform::ListBoxWindow*>(dialog_.Item(kList));
  }
  void SetCoreText(const char* utf8) {
    ::SendMessageA(dialog_.Item(kEdit), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(Cp932(utf8).c_str()));
  }
  // Focus events on the list for one of its rows.
  int RowFocusEvents() {
    int count = 0;
    for (std::size_t i = 0, f = 0; i < events_.size(); ++i) {
      if (events_[i].second != QAccessible::Focus) continue;
      if (events_[i].first == view_ && focus_children_[f] >= 0) ++count;
      ++f;
    }
    return count;
  }

  TestDialog dialog_{kFormDialog};
  QLineEdit* line_ = nullptr;
  QListView* view_ = nullptr;
  CListBox list_;
  std::vector<std::pair<QObject*, QAccessible::Event>> events_;
  std::vector<int> focus_children_;
  QAccessible::UpdateHandler previous_ = nullptr;
};

// A text changed other than by a key goes through the core's edit, with its byte limit, its
// refusal of characters that CP932 lacks and its EN_CHANGE; the box shows what the core holds.
TEST_F(AccessibilityTest, EditChangesFromOutsideTheKeyboardGoThroughTheCore) {
  struct Case {
    const char* path;
    const char* before;
    int limit;  // bytes, 0 for none
    std::function<void(QLineEdit*, QAccessibleInterface*)> change;
    const char* after;
    int changes = -1;  // EN_CHANGE notes; by default one when the text changed
  };
  const auto editable = [](QAccessibleInterface* edit) { return edit->editableTextInterface(); };
  const std::vector<Case> cases = {
      {"accessible text set", "東京都", 0,
       [](QLineEdit*, QAccessibleInterface* edit) {
         edit->setText(QAccessible::Value, QString::fromUtf8("大阪府"));
       },
       "大阪府"},
      {"accessible insert", "東京", 0,
       [&](QLineEdit*, QAccessibleInterface* edit) {
         editable(edit)->insertText(1, QString::fromUtf8("都"));
       },
       "東都京"},
      {"accessible insert over the limit", "東京", 6,
       [&](QLineEdit*, QAccessibleInterface* edit) {
         editable(edit)->insertText(0, QString::fromUtf8("大阪"));
       },
       "大東京"},
      {"accessible delete", "東京都", 0,
       [&](QLineEdit*, QAccessibleInterface* edit) { editable(edit)->deleteText(0, 1); }, "京都"},
      {"accessible replace", "東京都", 0,
       [&](QLineEdit*, QAccessibleInterface* edit) {
         editable(edit)->replaceText(1, 2, QString::fromUtf8("阪"));
       },
       "東阪都"},
      {"accessible text without a Shift-JIS form", "東京都", 0,
       [](QLineEdit*, QAccessibleInterface* edit) {
         edit->setText(QAccessible::Value, QString::fromUtf8("서울"));
       },
       "東京都"},
      {"text dropped", "東京", 0,
       [](QLineEdit* line, QAccessibleInterface*) {
         QMimeData data;
         data.setText(QString::fromUtf8("都"));
         const QPoint end(line->width() - 2, line->height() / 2);
         QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
         QDragMoveEvent move(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
         QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
         for (QEvent* event : std::initializer_list<QEvent*>{&enter, &move, &drop}) {
           QCoreApplication::sendEvent(line, event);
         }
       },
       "東京都"},
      {"pasted (the context menu's Paste)", "東京", 0,
       [](QLineEdit* line, QAccessibleInterface*) {
         QGuiApplication::clipboard()->setText(QString::fromUtf8("都"));
         line->end(false);
         line->paste();
       },
       "東京都"},
      {"typed, then undone", "東京", 0,
       [](QLineEdit* line, QAccessibleInterface*) {
         line->end(false);
         QTest::keyClick(line, Qt::Key_X);
         line->undo();
       },
       "東京", 2},
      {"input method commit over the limit", "東京", 5,
       [](QLineEdit* line, QAccessibleInterface*) {
         line->end(false);
         QInputMethodEvent commit;
         commit.setCommitString(QString::fromUtf8("都府"));
         QCoreApplication::sendEvent(line, &commit);
       },
       "東京"},
  };
  QAccessibleInterface* edit = Of(line_);
  ASSERT_NE(nullptr, edit);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ::SendMessageA(dialog_.Item(kEdit), EM_LIMITTEXT, static_cast<WPARAM>(c.limit), 0);
    SetCoreText(c.before);
    dialog_.notes.clear();
    c.change(line_, edit);
    QCoreApplication::processEvents();
    EXPECT_EQ(Cp932(c.after), Edit()->Text());
    EXPECT_EQ(QString::fromUtf8(c.after), line_->text());
    const int changes = c.changes >= 0 ? c.changes : (std::string(c.after) != c.before ? 1 : 0);
    EXPECT_EQ(changes, CountNotes(dialog_, kEdit, EN_CHANGE));
  }
}

// A row selected through accessibility is a click on it, through the core (the parent hears
// LBN_SELCHANGE); taking the selection away, which a person cannot do, is refused.
TEST_F(AccessibilityTest, RowSelectionFromAccessibilityGoesThroughTheCore) {
  for (const char* row : {"a", "b", "c", "d", "e", "f", "g"}) list_.AddString(row);
  QCoreApplication::processEvents();
  QAccessibleInterface* list = Of(view_);
  ASSERT_NE(nullptr, list);
  struct Case {
    const char* path;
    std::function<void()> act;
    int selected;
    int notes;
  };
  const auto toggle = [list](int row) {
    QAccessibleInterface* item = list->child(row);
    ASSERT_NE(nullptr, item);
    ASSERT_NE(nullptr, item->actionInterface());
    item->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  };
  const std::vector<Case> cases = {
      {"row toggled", [&] { toggle(5); }, 5, 1},
      {"row toggled off", [&] { toggle(5); }, 5, 0},
      {"row selected through the table",
       [&] {
         if (QAccessibleTableInterface* table = list->tableInterface()) table->selectRow(2);
       },
       list->tableInterface() != nullptr ? 2 : 5, list->tableInterface() != nullptr ? 1 : 0},
      {"selection cleared through the table",
       [&] {
         if (QAccessibleTableInterface* table = list->tableInterface()) {
           table->unselectRow(table->selectedRows().value(0));
         }
       },
       list->tableInterface() != nullptr ? 2 : 5, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    dialog_.notes.clear();
    c.act();
    QCoreApplication::processEvents();
    EXPECT_EQ(c.selected, List()->Selection());
    EXPECT_EQ(c.notes, CountNotes(dialog_, kList, LBN_SELCHANGE));
    const QModelIndexList shown = view_->selectionModel()->selectedIndexes();
    ASSERT_EQ(1, shown.size());
    EXPECT_EQ(c.selected, shown.front().row());
  }
}

// The first Down selects row 0 where the caret already is: it is announced as later Downs are.
// Only the focused control has a focused row, and rows refilled while the focus is elsewhere
// announce nothing.
TEST_F(AccessibilityTest, RowFocusIsAnnouncedOnlyWhereTheFocusIs) {
  for (const char* row : {"a", "b", "c"}) list_.AddString(row);
  QCoreApplication::processEvents();
  view_->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view_->hasFocus(); }));
  events_.clear();
  focus_children_.clear();
  QTest::keyClick(view_, Qt::Key_Down);
  EXPECT_EQ(0, List()->Selection());
  EXPECT_EQ(1, RowFocusEvents()) << "the first Down";
  QTest::keyClick(view_, Qt::Key_Down);
  EXPECT_EQ(2, RowFocusEvents()) << "the second Down";

  line_->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !view_->hasFocus(); }));
  QAccessibleInterface* list = Of(view_);
  for (int row = 0; row < list->childCount(); ++row) {
    EXPECT_FALSE(list->child(row)->state().focused) << "row " << row;
  }
  events_.clear();
  focus_children_.clear();
  list_.ResetContent();  // a search's refill
  for (const char* row : {"x", "y"}) list_.AddString(row);
  QCoreApplication::processEvents();
  EXPECT_EQ(0, RowFocusEvents());
  for (int row = 0; row < list->childCount(); ++row) {
    EXPECT_FALSE(list->child(row)->state().focused) << "row " << row;
  }
  // Back in the list with no row selected, no row is focused; the first Down announces one.
  view_->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view_->hasFocus(); }));
  QCoreApplication::processEvents();
  EXPECT_EQ(0, RowFocusEvents()) << "the list entered without a selection";
  QTest::keyClick(view_, Qt::Key_Down);
  EXPECT_EQ(1, RowFocusEvents()) << "the first Down after a refill";
}

// Edits and list boxes are named as the window system names them, after the static just before
// them, linked as label and labelled; a name of the template's own wins, and the list's carries
// its count, told again after the rows change. The window is a dialog.
TEST_F(AccessibilityTest, ControlsAreNamedAfterTheirLabelsAndTheWindowIsADialog) {
  TestDialog named{kLabelledDialog};
  ASSERT_TRUE(named.Create(kLabelledDialog));
  QAccessibleInterface* window = Of(WidgetOf(named.m_hWnd));
  EXPECT_EQ(QAccessible::Dialog, window->role());
  EXPECT_EQ(QString::fromUtf8("名前"), window->text(QAccessible::Name));
  struct Case {
    int id;
    QAccessible::Role role;
    const char* name;
    const char* label;  // the static it is labelled by, nullptr for none
  };
  const Case cases[] = {
      {201, QAccessible::EditableText, "郵便番号", "郵便番号"},
      {202, QAccessible::EditableText, "郵便番号 下4桁", nullptr},
      {203, QAccessible::List, "一覧 0件", nullptr},
      {204, QAccessible::EditableText, "町&域(T)", "町&域(T)"},
      {206, QAccessible::EditableText, "", nullptr},  // after a button: no name
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    QAccessibleInterface* control = Of(WidgetOf(named.Item(c.id)));
    EXPECT_EQ(c.role, control->role());
    EXPECT_EQ(QString::fromUtf8(c.name), control->text(QAccessible::Name));
    const auto labels = control->relations(QAccessible::Label);
    ASSERT_EQ(c.label != nullptr ? 1 : 0, labels.size());
    if (c.label == nullptr) continue;
    QAccessibleInterface* label = labels.front().first;
    EXPECT_EQ(QString::fromUtf8(c.label), label->text(QAccessible::Name));
    const auto labelled = label->relations(QAccessible::Labelled);
    ASSERT_EQ(1, labelled.size());
    EXPECT_EQ(control->object(), labelled.front().first->object());
  }
  auto* label = qobject_cast<QLabel*>(
      Of(WidgetOf(named.Item(204)))->relations(QAccessible::Label).front().first->object());
  ASSERT_NE(nullptr, label);
  EXPECT_EQ(QString::fromUtf8("町&域(T)"),
            label->grab().isNull()
                ? QString()
                : label->text().replace(QStringLiteral("&&"), QStringLiteral("&")));

  QWidget* list = WidgetOf(named.Item(203));
  events_.clear();
  for (const char* row : {"a", "b", "c"}) {
    ::SendMessageA(named.Item(203), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(QString::fromUtf8("一覧 3件"), Of(list)->text(QAccessible::Name));
  const auto renamed =
      std::count(events_.begin(), events_.end(),
                 std::make_pair(static_cast<QObject*>(list), QAccessible::NameChanged));
  EXPECT_EQ(1, renamed);
  named.DestroyWindow();
}

}  // namespace
