// The control contracts' driver for the Qt backend: a person's actions are Qt events on the
// widgets, what is seen is the widgets' state. (The core's driver is in tests/platform.)
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "contract_driver.h"
#include "platform/clipboard.h"
#include "platform/encoding.h"
#include "platform/listbox.h"
#include "test_dialogs.h"

namespace contract {
namespace {

static_assert(kEdit == qt_test::kEdit && kRightEdit == qt_test::kRightEdit &&
              kList == qt_test::kList);

// The form is the test dialog kFormDialog.
class QtDriver final : public Driver {
 public:
  ~QtDriver() override {
    if (IsWindow(dialog_.m_hWnd)) dialog_.DestroyWindow();
  }
  bool Build() {
    return dialog_.Create(qt_test::kFormDialog) != FALSE && qt_test::Activate(dialog_.m_hWnd);
  }

  LRESULT Send(int control, UINT message, WPARAM wparam, LPARAM lparam) override {
    return ::SendMessageA(dialog_.Item(control), message, wparam, lparam);
  }
  std::vector<Note> Notes() override { return dialog_.notes; }
  void ClearNotes() override { dialog_.notes.clear(); }

  void PressKey(int control, UINT vk) override {
    const Qt::Key key = QtKey(vk);
    QWidget* widget = Widget(control);
    widget->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(widget, key);
  }
  void PressRow(int list, int row) override {
    QCoreApplication::processEvents();  // the view learns of new rows in the event loop
    QListView* view = View(list);
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
  }
  void ReleaseButton(int list) override {
    QListView* view = View(list);
    const QModelIndex current = view->currentIndex();
    const QPoint at = current.isValid() ? view->visualRect(current).center() : QPoint(2, 2);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
  }
  void DoubleClickRow(int list, int row) override {
    // As the window system delivers it: a click, then a press that is also a double click.
    ClickRow(list, row);
    QListView* view = View(list);
    const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
  }
  void Focus(int edit) override {
    QLineEdit* line = Line(edit);
    QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(line->width() - 3, line->height() / 2));
  }
  void Type(int edit, const std::string& ascii) override {
    Focus(edit);
    for (char key : ascii) QTest::keyClick(Line(edit), key);
  }
  void Commit(int edit, const std::string& utf8) override {
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromStdString(utf8));
    QCoreApplication::sendEvent(Line(edit), &commit);
  }
  void Paste(int edit, const std::string& utf8) override {
    QGuiApplication::clipboard()->setText(QString::fromStdString(utf8));
    QTest::keyClick(Line(edit), Qt::Key_V, Qt::ControlModifier);
  }

  std::vector<std::string> Rows(int list) override {
    QCoreApplication::processEvents();
    const QAbstractItemModel* model = View(list)->model();
    std::vector<std::string> rows;
    for (int i = 0; i < model->rowCount(); ++i) {
      rows.push_back(model->index(i, 0).data().toString().toStdString());
    }
    return rows;
  }
  int SelectedRow(int list) override {
    QCoreApplication::processEvents();
    const QModelIndexList selected = View(list)->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
  }
  int CaretRow(int list) override {
    QCoreApplication::processEvents();
    // The focus rectangle is drawn on the view's current row, which the view has only while
    // it has the focus (no row of another control reports the focus to a screen reader).
    // Without the focus nothing is drawn: the row it comes back to is the box's caret, read
    // from the box as the Windows driver reads it (LB_GETCARETINDEX).
    if (!View(list)->hasFocus()) return static_cast<platform::ListBoxWindow*>(Item(list))->Caret();
    const QModelIndex current = View(list)->currentIndex();
    return current.isValid() ? current.row() : -1;
  }
  int TopRow(int list) override {
    QCoreApplication::processEvents();
    const QModelIndex top = View(list)->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : -1;
  }
  int FullyVisibleRows(int list) override {
    QCoreApplication::processEvents();
    QListView* view = View(list);
    const int row_height = view->sizeHintForRow(0);
    return row_height > 0 ? view->viewport()->height() / row_height : 0;
  }
  EditView ShownEdit(int edit) override {
    QLineEdit* line = Line(edit);
    const QString text = line->text();
    const int start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
    const int end =
        line->hasSelectedText() ? start + static_cast<int>(line->selectedText().size()) : start;
    const auto utf8_offset = [&](int at) {
      return static_cast<std::size_t>(text.left(at).toUtf8().size());
    };
    return {text.toStdString(), utf8_offset(start), utf8_offset(end)};
  }
  std::string Clipboard() override {
    // The program's copy and the system's must agree.
    const std::string system = QGuiApplication::clipboard()->text().toStdString();
    const std::string core = platform::Cp932ToUtf8(platform::ClipboardText());
    return system == core ? system : "core \"" + core + "\", system \"" + system + "\"";
  }

 private:
  static Qt::Key QtKey(UINT vk) {
    switch (vk) {
      case VK_SPACE:
        return Qt::Key_Space;
      case VK_PRIOR:
        return Qt::Key_PageUp;
      case VK_NEXT:
        return Qt::Key_PageDown;
      case VK_END:
        return Qt::Key_End;
      case VK_HOME:
        return Qt::Key_Home;
      case VK_LEFT:
        return Qt::Key_Left;
      case VK_UP:
        return Qt::Key_Up;
      case VK_RIGHT:
        return Qt::Key_Right;
      case VK_DOWN:
        return Qt::Key_Down;
      default:
        ADD_FAILURE() << "no Qt key for VK " << vk;
        return Qt::Key_unknown;
    }
  }
  HWND Item(int id) const { return dialog_.Item(id); }
  QWidget* Widget(int id) const { return qt_test::WidgetOf(Item(id)); }
  QListView* View(int id) const { return qobject_cast<QListView*>(Widget(id)); }
  QLineEdit* Line(int id) const { return qobject_cast<QLineEdit*>(Widget(id)); }

  qt_test::TestDialog dialog_{qt_test::kFormDialog};
};

std::unique_ptr<Driver> MakeQtDriver() {
  auto driver = std::make_unique<QtDriver>();
  if (!driver->Build()) return nullptr;
  return driver;
}

const Backend kQt{"Qt", &MakeQtDriver};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Qt, ListBoxContract, ::testing::Values(&kQt), BackendName);
INSTANTIATE_TEST_SUITE_P(Qt, EditContract, ::testing::Values(&kQt), BackendName);

}  // namespace contract
