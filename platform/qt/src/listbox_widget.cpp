#include "listbox_widget.h"

#include <QAccessible>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>
#include <utility>

#include "fonts.h"
#include "platform/user_input.h"
#include "text.h"

namespace platform::qt {

ListBoxModel::ListBoxModel(ListBoxWindow* list, QObject* parent)
    : QAbstractListModel(parent), list_(list), shown_(list->Count()) {}

int ListBoxModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || list_ == nullptr || !index.isValid()) return {};
  // The core may be ahead of the view between a change and the next sync.
  if (index.row() >= list_->Count()) return {};
  return ToQString(list_->Row(index.row()));
}

void ListBoxModel::Inserted(int first) {
  if (removed_at_ >= 0 && first == removed_at_) {
    // A row taken out and put back at the same place (a row rewritten): a change.
    removed_at_ = -1;
    Changed(first);
    return;
  }
  // Rows added after the ones the view knows leave those in place: an append.
  if (first < shown_) reset_ = true;
  pending_ = true;
}

void ListBoxModel::Removed(int first) {
  if (first < shown_) {
    if (removed_at_ >= 0) reset_ = true;
    removed_at_ = first;
  }
  pending_ = true;
}

void ListBoxModel::Changed(int index) {
  if (index < shown_) {
    changed_first_ = changed_first_ < 0 ? index : std::min(changed_first_, index);
    changed_last_ = std::max(changed_last_, index);
  }
  pending_ = true;
}

void ListBoxModel::Reset() {
  reset_ = true;
  pending_ = true;
}

void ListBoxModel::Sync() {
  if (!pending_) return;
  pending_ = false;
  const int count = list_ != nullptr ? list_->Count() : 0;
  if (removed_at_ >= 0 || count < shown_) reset_ = true;
  removed_at_ = -1;
  if (reset_) {
    beginResetModel();
    shown_ = count;
    reset_ = false;
    changed_first_ = changed_last_ = -1;
    endResetModel();
    return;
  }
  if (changed_first_ >= 0) {
    const int last = std::min(changed_last_, shown_ - 1);
    if (changed_first_ <= last) emit dataChanged(index(changed_first_), index(last));
    changed_first_ = changed_last_ = -1;
  }
  if (count > shown_) {
    beginInsertRows(QModelIndex(), shown_, count - 1);
    shown_ = count;
    endInsertRows();
  }
}

namespace {

// Draws the caret as the classic box does, a dotted rectangle around the row, while the list
// has the focus: not every Qt style draws one for the current row.
class CaretDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    if ((option.state & QStyle::State_HasFocus) == 0) return;
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    painter->save();
    painter->setPen(
        QPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text), 1,
             Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    painter->restore();
  }
};

}  // namespace

ListBoxWidget::ListBoxWidget(Window* window, POINT base_units, QWidget* parent)
    : QListView(parent),
      ControlView(window, this, base_units),
      model_(new ListBoxModel(static_cast<ListBoxWindow*>(window), this)) {
  const DWORD style = window->Style();
  setModel(model_);
  setItemDelegate(new CaretDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Many rows, one height: the view never measures them one by one.
  setUniformItemSizes(true);
  setTextElideMode(Qt::ElideNone);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy((style & LBS_DISABLENOSCROLL) != 0 ? Qt::ScrollBarAlwaysOn
                                                                : Qt::ScrollBarAsNeeded);
  setFrameShape((style & WS_BORDER) != 0 ? QFrame::StyledPanel : QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  // The rows are space-padded columns: they line up only in a fixed-pitch font.
  setFont(FixedPitchFont(parent->font()));
  ApplyState();
  ShowSelection();
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected) { ViewSelectionChanged(selected); });
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { ViewCurrentChanged(); });
}

void ListBoxWidget::RowsInserted(int first, int /*count*/) {
  model_->Inserted(first);
  rows_changed_ = true;
  ScheduleSync();
}

void ListBoxWidget::RowsRemoved(int first, int /*count*/) {
  model_->Removed(first);
  rows_changed_ = true;
  ScheduleSync();
}

void ListBoxWidget::RowChanged(int index) {
  model_->Changed(index);
  ScheduleSync();
}

void ListBoxWidget::RowsReset() {
  model_->Reset();
  rows_changed_ = true;
  ScheduleSync();
}

void ListBoxWidget::SelectionChanged() {
  SyncNow();
  ShowSelection();
}

void ListBoxWidget::WindowDestroying() {
  model_->Detach();
  ControlView::WindowDestroying();
}

void ListBoxWidget::ScheduleSync() {
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    scheduled_ = false;
    SyncNow();
    if (rows_changed_) NameWithCount();
  });
}

void ListBoxWidget::SyncNow() {
  if (!model_->Pending()) return;
  model_->Sync();
  ShowSelection();
}

void ListBoxWidget::ShowSelection() {
  if (window_ == nullptr) return;
  const bool was_showing = std::exchange(showing_, true);
  const int rows = model_->rowCount(QModelIndex());
  const int selected = List()->Selection();
  const int caret = List()->Caret();
  const QModelIndex current_before = currentIndex();
  if (hasFocus() && caret < rows) {
    selectionModel()->setCurrentIndex(model_->index(caret), QItemSelectionModel::NoUpdate);
  } else {
    selectionModel()->clearCurrentIndex();
  }
  if (selected >= 0 && selected < rows) {
    const QModelIndex index = model_->index(selected);
    const bool newly_selected = !selectionModel()->isSelected(index);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
    // The view announces a row when its current row moves; a row selected where the caret
    // already was (the first Down) moves nothing, and is announced here the same way.
    if (newly_selected && hasFocus() && current_before == index) AnnounceRow(selected);
  } else {
    selectionModel()->clearSelection();
  }
  showing_ = was_showing;
}

void ListBoxWidget::ViewSelectionChanged(const QItemSelection& selected) {
  if (showing_ || window_ == nullptr) return;
  const QModelIndexList rows = selected.indexes();
  if (rows.size() == 1 && rows.front().row() != List()->Selection()) {
    // A row chosen in the view: a click on it, as a person's would be.
    SyncNow();
    user::SelectRow(window_, rows.front().row());
    AfterAction();
  }
  ShowSelection();
}

void ListBoxWidget::ViewCurrentChanged() {
  if (!showing_) ShowSelection();
}

void ListBoxWidget::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  // QListView's own announcement is skipped: AnnounceRow makes every one, the same way.
  QAbstractItemView::currentChanged(current, previous);  // NOLINT(bugprone-parent-virtual-call)
  if (current.isValid() && hasFocus() && !quiet_) AnnounceRow(current.row());
}

void ListBoxWidget::AnnounceRow(int row) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent event(this, QAccessible::Focus);
  event.setChild(row);
  QAccessible::updateAccessibility(&event);
}

void ListBoxWidget::SetCountedName(const QString& name) {
  counted_name_ = name;
  NameWithCount();
}

void ListBoxWidget::NameWithCount() {
  rows_changed_ = false;
  if (counted_name_.isEmpty() || window_ == nullptr) return;
  // Set even when unchanged: the name-changed event is what makes a screen reader say it.
  setAccessibleName(counted_name_ + QStringLiteral(" %1件").arg(List()->Count()));
}

int ListBoxWidget::FullyVisibleRows() const {
  if (model_->rowCount(QModelIndex()) == 0) return 0;
  const int row_height = sizeHintForRow(0);
  return row_height > 0 ? viewport()->height() / row_height : 0;
}

int ListBoxWidget::RowAt(const QPoint& point) const {
  const QModelIndex index = indexAt(point);
  return index.isValid() ? index.row() : -1;
}

namespace {

// The keys a list box answers, as the core names them.
UINT ListKeyCode(int qt_key) {
  static constexpr std::pair<int, UINT> kKeys[] = {
      {Qt::Key_Up, VK_UP},        {Qt::Key_Down, VK_DOWN},     {Qt::Key_Left, VK_LEFT},
      {Qt::Key_Right, VK_RIGHT},  {Qt::Key_Home, VK_HOME},     {Qt::Key_End, VK_END},
      {Qt::Key_PageUp, VK_PRIOR}, {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_Space, VK_SPACE},
  };
  for (const auto& [key, vk] : kKeys) {
    if (key == qt_key) return vk;
  }
  return 0;
}

}  // namespace

void ListBoxWidget::keyPressEvent(QKeyEvent* event) {
  const bool control = (event->modifiers() & Qt::ControlModifier) != 0;
  UINT vk = ListKeyCode(event->key());
  // Ctrl+C and Ctrl+Insert go to the box's owner, which may take them as Copy.
  if (control && event->key() == Qt::Key_C) vk = 'C';
  if (control && event->key() == Qt::Key_Insert) vk = VK_INSERT;
  if (vk == 0 || window_ == nullptr || (event->modifiers() & Qt::AltModifier) != 0) {
    QWidget::keyPressEvent(event);  // not the view's: no keyboard search, no selection
    return;
  }
  SyncNow();  // the rows the core has are the rows a key moves over
  user::ListKey(window_, vk, control);
  AfterAction();
}

void ListBoxWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || window_ == nullptr) {
    QWidget::mousePressEvent(event);
    return;
  }
  button_down_ = true;
  user::ListPress(window_, RowAt(event->position().toPoint()));
  AfterAction();
}

void ListBoxWidget::mouseMoveEvent(QMouseEvent* event) {
  // While the button is held the selection follows the mouse, as in the classic box.
  if (!button_down_ || window_ == nullptr) return;
  const int row = RowAt(event->position().toPoint());
  if (row >= 0 && row != List()->Selection()) user::ListPress(window_, row);
}

void ListBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !button_down_ || window_ == nullptr) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  button_down_ = false;
  user::ListRelease(window_, viewport()->rect().contains(event->position().toPoint()));
  AfterAction();
}

void ListBoxWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || window_ == nullptr) {
    QWidget::mouseDoubleClickEvent(event);
    return;
  }
  button_down_ = true;
  user::ListDoubleClick(window_, RowAt(event->position().toPoint()));
  AfterAction();
}

void ListBoxWidget::focusInEvent(QFocusEvent* event) {
  // The caret becomes the current row before the view picks one of its own. The selected row,
  // if any, is the focused one: announced after the list, which Qt announces once this event
  // has been handled.
  const bool was_quiet = std::exchange(quiet_, true);
  ShowSelection();
  quiet_ = was_quiet;
  QListView::focusInEvent(event);
  FocusArrived();
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (window_ != nullptr && hasFocus() && List()->Selection() >= 0) {
          AnnounceRow(List()->Selection());
        }
      },
      Qt::QueuedConnection);
}

void ListBoxWidget::focusOutEvent(QFocusEvent* event) {
  QListView::focusOutEvent(event);
  ShowSelection();
}

bool ListBoxWidget::viewportEvent(QEvent* event) {
  // Painted before the event loop came round (a repaint while the thread is blocked): show
  // the rows the core has now.
  if (event->type() == QEvent::Paint && model_->Pending()) {
    SyncNow();
    executeDelayedItemsLayout();
  }
  return QListView::viewportEvent(event);
}

}  // namespace platform::qt
