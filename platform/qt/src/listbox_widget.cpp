#include "listbox_widget.h"

#include <QEvent>
#include <QTimer>

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

ListBoxWidget::ListBoxWidget(Window* window, POINT base_units, QWidget* parent)
    : QListView(parent),
      ControlView(window, this, base_units),
      model_(new ListBoxModel(static_cast<ListBoxWindow*>(window), this)) {
  const DWORD style = window->Style();
  setModel(model_);
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
          &ListBoxWidget::PersonSelected);
}

void ListBoxWidget::RowsInserted(int first, int /*count*/) {
  model_->Inserted(first);
  ScheduleSync();
}

void ListBoxWidget::RowsRemoved(int first, int /*count*/) {
  model_->Removed(first);
  ScheduleSync();
}

void ListBoxWidget::RowChanged(int index) {
  model_->Changed(index);
  ScheduleSync();
}

void ListBoxWidget::RowsReset() {
  model_->Reset();
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
  });
}

void ListBoxWidget::SyncNow() {
  if (!model_->Pending()) return;
  showing_ = true;
  model_->Sync();
  showing_ = false;
  ShowSelection();
}

void ListBoxWidget::ShowSelection() {
  if (window_ == nullptr) return;
  showing_ = true;
  const int selected = List()->Selection();
  if (selected >= 0 && selected < model_->rowCount(QModelIndex())) {
    const QModelIndex index = model_->index(selected);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
  } else {
    selectionModel()->clearSelection();
  }
  showing_ = false;
}

void ListBoxWidget::PersonSelected() {
  if (showing_ || window_ == nullptr) return;
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  if (!selected.isEmpty()) {
    user::SelectRow(window_, selected.first().row());
  }
  // A click below the rows, or a row the core refused: the core's selection stands.
  if (window_ != nullptr) ShowSelection();
  AfterAction();
}

void ListBoxWidget::focusInEvent(QFocusEvent* event) {
  QListView::focusInEvent(event);
  FocusArrived();
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
