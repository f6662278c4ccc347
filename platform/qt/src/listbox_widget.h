// A list box: a QListView over a model that reads the core's rows. A search adds thousands of
// rows while the thread is blocked, so the core's notifications only mark what changed; the
// model tells the view once, when control returns to the event loop or before a paint. The
// view's current index is the core's caret while the list has the focus (none otherwise, so
// that no row reports the focus), its selection the core's selection. A selection made in the
// view by anything but the core (an assistive tool's action on a row) is a click on that row,
// through the core, or is undone.
#pragma once

#include <QAbstractListModel>
#include <QListView>

#include "control_view.h"
#include "platform/listbox.h"

namespace platform::qt {

class ListBoxModel final : public QAbstractListModel {
 public:
  explicit ListBoxModel(ListBoxWindow* list, QObject* parent);

  int rowCount(const QModelIndex& parent) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // From the core: remember the change, nothing else.
  void Inserted(int first);
  void Removed(int first);
  void Changed(int index);
  void Reset();
  bool Pending() const { return pending_; }
  // Tells the view what changed since the last time, in one signal or two.
  void Sync();
  void Detach() { list_ = nullptr; }

 private:
  ListBoxWindow* list_;
  int shown_ = 0;  // rows the view knows of
  bool pending_ = false;
  bool reset_ = false;
  int changed_first_ = -1;
  int changed_last_ = -1;
  int removed_at_ = -1;  // a known row removed, perhaps to be put back
};

class ListBoxWidget final : public QListView, public ControlView {
 public:
  ListBoxWidget(Window* window, POINT base_units, QWidget* parent);

  void RowsInserted(int first, int count) override;
  void RowsRemoved(int first, int count) override;
  void RowChanged(int index) override;
  void RowsReset() override;
  void SelectionChanged() override;
  int FullyVisibleRows() const override;
  void WindowDestroying() override;

  ListBoxModel* Model() const { return model_; }
  // The accessible name: this name and the count of rows ("検索結果 12件"), told again after
  // every change of the rows once the event loop comes round (a search).
  void SetCountedName(const QString& name);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  // The row that becomes current while the list has the focus is announced as the focused one.
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  bool viewportEvent(QEvent* event) override;
  // The core decides what a key or a click does; QListView's own handling never runs.
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  ListBoxWindow* List() const { return static_cast<ListBoxWindow*>(window_); }
  void ScheduleSync();
  void SyncNow();
  void ShowSelection();
  void ViewSelectionChanged(const QItemSelection& selected);
  void ViewCurrentChanged();
  // Tells assistive technology that a row is the focused one.
  void AnnounceRow(int row);
  void NameWithCount();
  // The row under a point of the viewport, or -1.
  int RowAt(const QPoint& point) const;

  ListBoxModel* model_;
  bool scheduled_ = false;
  bool button_down_ = false;
  bool showing_ = false;
  bool quiet_ = false;  // no row announced: the list itself is not yet
  bool rows_changed_ = false;
  QString counted_name_;
};

}  // namespace platform::qt
