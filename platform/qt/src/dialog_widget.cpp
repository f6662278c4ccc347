#include "dialog_widget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QWindow>

#include "accessibility.h"
#include "button_widget.h"
#include "edit_widget.h"
#include "fonts.h"
#include "listbox_widget.h"
#include "platform/cmenu.h"
#include "platform/qt_backend.h"
#include "platform/resource_registry.h"
#include "platform/user_input.h"
#include "static_widget.h"
#include "text.h"
#include "window_manager_hints.h"

namespace platform::qt {
namespace {

void AfterAction() {
  if (QtBackend* backend = QtBackend::Instance()) backend->QuitEndedLoops();
}

// The frame that the window manager adds, for placing the window; the offscreen platform
// (tests, screenshots) has none.
RECT FrameEstimate() {
  if (QGuiApplication::platformName() == QStringLiteral("offscreen")) return RECT{0, 0, 0, 0};
  return RECT{1, 26, 1, 1};
}

QWidget* MakeControl(Window* control, POINT base_units, QWidget* parent) {
  switch (control->Kind()) {
    case WindowKind::PushButton:
      return new ButtonWidget(control, base_units, parent);
    case WindowKind::Edit:
      return new EditWidget(control, base_units, parent);
    case WindowKind::ListBox:
      return new ListBoxWidget(control, base_units, parent);
    case WindowKind::StaticText:
    case WindowKind::StaticIcon:
      return new StaticWidget(control, base_units, parent);
    case WindowKind::Dialog:
      break;
  }
  return nullptr;
}

}  // namespace

DialogWidget::DialogWidget(DialogWindow* dialog)
    : QWidget(nullptr), dialog_(dialog), frame_(FrameEstimate()) {
  const QFont font = DialogFont(dialog->FontName(), dialog->PointSize());
  setFont(font);
  base_units_ = BaseUnitsOf(font);
  setFocusPolicy(Qt::NoFocus);
  setWindowTitle(ToQString(dialog->Text()));
  QtBackend* backend = QtBackend::Instance();
  PlaceDialog(dialog, base_units_, backend != nullptr ? backend->ScreenSize() : POINT{1280, 1024},
              frame_);
  dialog->SetView(this);
  if (backend != nullptr) backend->Register(dialog, this);
  // Created in the template's order, which is also Qt's focus chain; Tab is the core's anyway.
  for (Window* child : dialog->Children()) {
    if (QWidget* widget = MakeControl(child, base_units_, this)) widget->installEventFilter(this);
  }
  NameControls(dialog);
  ApplyState();
}

DialogWidget::~DialogWidget() {
  if (dialog_ != nullptr) Detach();
}

void DialogWidget::Detach() {
  dialog_->SetView(nullptr);
  if (QtBackend* backend = QtBackend::Instance()) backend->Unregister(dialog_);
  dialog_ = nullptr;
}

void DialogWidget::TextChanged() {
  if (dialog_ != nullptr) setWindowTitle(ToQString(dialog_->Text()));
}

void DialogWidget::StateChanged() {
  ApplyState();
}

void DialogWidget::FocusChanged() {
  ShowFocus();
  // The default frame follows the focus among the push buttons.
  for (QPushButton* button : findChildren<QPushButton*>()) button->update();
}

void DialogWidget::WindowDestroying() {
  Window* going = dialog_;
  Detach();
  HideAndPassActivation(going);
  // Not deleted here: the destruction may come from inside one of this widget's own events.
  deleteLater();
}

void DialogWidget::ApplyState() {
  if (dialog_ == nullptr || applying_) return;
  applying_ = true;
  const DWORD style = dialog_->Style();
  QWidget* owner = OwnerWidget();
  // An owned window is a dialog to the window manager, transient for its owner (below): kept
  // above it and minimised and restored with it, so a modal one cannot get lost behind it.
  Qt::WindowFlags flags = (owner != nullptr ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint;
  if ((style & WS_CAPTION) == WS_CAPTION) flags |= Qt::WindowTitleHint;
  // A close box only with a system menu; never minimise or maximise boxes.
  if ((style & WS_SYSMENU) != 0) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (dialog_->IsTopmost()) flags |= Qt::WindowStaysOnTopHint;
  if (windowFlags() != flags) setWindowFlags(flags);  // hides the window; shown again below

  const RECT& rect = dialog_->ScreenRect();
  const POINT client = dialog_->ClientSize();
  setFixedSize(client.x, client.y);
  const QRect placed(rect.left + frame_.left, rect.top + frame_.top, client.x, client.y);
  if (geometry() != placed) setGeometry(placed);

  const Icon* icon = dialog_->Icon(true) != nullptr ? dialog_->Icon(true) : dialog_->Icon(false);
  if (icon != shown_icon_) {
    shown_icon_ = icon;
    QIcon window_icon;
    for (bool big : {true, false}) {
      if (const Icon* image = dialog_->Icon(big)) {
        window_icon.addPixmap(QPixmap::fromImage(IconImage(*image)));
      }
    }
    setWindowIcon(window_icon);
  }

  const bool was_enabled = isEnabled();
  setEnabled(dialog_->IsEnabled());
  if (dialog_->IsVisible()) {
    if (!isVisible()) {
      if (owner != nullptr) {
        // Qt writes the transient hint (WM_TRANSIENT_FOR) when it maps a dialog.
        winId();
        owner->winId();
        windowHandle()->setTransientParent(owner->windowHandle());
      }
      SetFrameFunctions(this, (style & WS_SYSMENU) != 0);
      show();
      raise();
      activateWindow();
    }
    if (dialog_->IsMinimized() && !isMinimized()) showMinimized();
    if (!dialog_->IsMinimized() && isMinimized()) showNormal();
  } else if (isVisible()) {
    HideAndPassActivation(dialog_);
  }
  applying_ = false;
  if (!was_enabled && isEnabled() && isVisible() && ActiveWindow() == dialog_) {
    // Back from under a modal dialog: it is the active window again.
    activateWindow();
    raise();
    ShowFocus();
  }
}

QWidget* DialogWidget::OwnerWidget() const {
  QtBackend* backend = QtBackend::Instance();
  if (dialog_ == nullptr || backend == nullptr || dialog_->Owner() == nullptr) return nullptr;
  return backend->WidgetOf(dialog_->Owner());
}

void DialogWidget::PresentOwnedModal() {
  QtBackend* backend = QtBackend::Instance();
  if (dialog_ == nullptr || dialog_->IsEnabled() || backend == nullptr) return;
  const std::vector<Window*> windows = TopLevelWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    Window* window = *it;
    if (window->Owner() != dialog_ || window->Kind() != WindowKind::Dialog ||
        !window->IsVisible()) {
      continue;
    }
    auto* owned = static_cast<DialogWindow*>(window);
    auto* widget = dynamic_cast<DialogWidget*>(backend->WidgetOf(owned));
    if (!owned->IsModal() || widget == nullptr) continue;
    owned->SetMinimized(false);  // shown normally again by its widget
    if (widget->isMinimized()) widget->showNormal();
    widget->raise();
    if (owned->IsEnabled()) {
      widget->activateWindow();
    } else {
      widget->PresentOwnedModal();  // it waits for a modal dialog of its own
    }
    return;
  }
}

void DialogWidget::HideAndPassActivation(Window* going) {
  const bool was_active = isActiveWindow();
  hide();
  QtBackend* backend = QtBackend::Instance();
  if (!was_active || backend == nullptr) return;
  // As the classic window system does, the window that goes hands the activation on to the
  // topmost one left that a person can use (the offscreen platform has no window manager).
  const std::vector<Window*> windows = TopLevelWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    Window* window = *it;
    if (window == going || !window->IsVisible() || !window->IsEnabled()) continue;
    if (QWidget* next = backend->WidgetOf(window)) next->activateWindow();
    return;
  }
}

void DialogWidget::ShowFocus() {
  if (dialog_ == nullptr || dialog_->Focus() == nullptr) return;
  QtBackend* backend = QtBackend::Instance();
  QWidget* widget = backend != nullptr ? backend->WidgetOf(dialog_->Focus()) : nullptr;
  if (widget == nullptr || widget->hasFocus()) return;
  showing_focus_ = true;
  widget->setFocus(Qt::OtherFocusReason);
  showing_focus_ = false;
}

bool DialogWidget::DialogKey(QKeyEvent* event, QWidget* target) {
  if (dialog_ == nullptr) return false;
  const Qt::KeyboardModifiers modifiers =
      event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if ((modifiers & (Qt::ControlModifier | Qt::AltModifier)) != 0) return false;
      // The core's order of tab stops, not Qt's focus chain.
      user::Tab(dialog_, event->key() == Qt::Key_Backtab || modifiers == Qt::ShiftModifier);
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if ((modifiers & (Qt::ControlModifier | Qt::AltModifier)) != 0) return false;
      user::Enter(dialog_);
      break;
    case Qt::Key_Escape:
      user::Escape(dialog_);
      break;
    case Qt::Key_Space:
      // A button is pressed by the core, once; QPushButton would click on the release too.
      if (qobject_cast<QPushButton*>(target) == nullptr || modifiers != Qt::NoModifier) {
        return false;
      }
      if (!event->isAutoRepeat()) user::Space(dialog_);
      break;
    case Qt::Key_F4:
      if (modifiers != Qt::AltModifier) return false;
      user::AltF4(dialog_);
      break;
    case Qt::Key_Menu:
    case Qt::Key_F10:
      if (event->key() == Qt::Key_F10 && modifiers != Qt::ShiftModifier) return false;
      return OpenSystemMenu(target->mapToGlobal(QPoint(target->width() / 2, target->height() / 2)));
    default:
      return false;
  }
  AfterAction();
  return true;
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event) {
  auto* target = qobject_cast<QWidget*>(watched);
  if (target == nullptr) return false;
  if (event->type() == QEvent::KeyPress) return DialogKey(static_cast<QKeyEvent*>(event), target);
  if (event->type() == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    return key->key() == Qt::Key_Space && qobject_cast<QPushButton*>(target) != nullptr;
  }
  return false;
}

void DialogWidget::keyPressEvent(QKeyEvent* event) {
  if (!DialogKey(event, this)) QWidget::keyPressEvent(event);
}

void DialogWidget::closeEvent(QCloseEvent* event) {
  // The close box or the window manager's Alt+F4: the core decides, and hides or destroys the
  // window itself when it closes.
  event->ignore();
  if (dialog_ == nullptr) return;
  user::AltF4(dialog_);
  AfterAction();
}

bool DialogWidget::OpenSystemMenu(const QPoint& at) {
  Menu* system_menu = dialog_ != nullptr ? dialog_->SystemMenu() : nullptr;
  if (system_menu == nullptr) return false;
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (const MenuItem& item : system_menu->items) {
    if ((item.flags & MF_SEPARATOR) != 0) {
      menu->addSeparator();
      continue;
    }
    const UINT id = item.id;
    connect(menu->addAction(ToQString(item.text)), &QAction::triggered, this, [this, id] {
      // After the menu has closed: the command may run a modal dialog.
      QMetaObject::invokeMethod(
          this,
          [this, id] {
            if (dialog_ == nullptr) return;
            user::SystemCommand(dialog_, id);
            AfterAction();
          },
          Qt::QueuedConnection);
    });
  }
  menu->popup(at);
  return true;
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event) {
  if (OpenSystemMenu(event->globalPos())) {
    event->accept();
  } else {
    event->ignore();
  }
}

void DialogWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (dialog_ == nullptr || applying_) return;
  if (event->type() == QEvent::ActivationChange) {
    // After Qt has finished with the activation: Qt's Wayland plugin asks the compositor to
    // activate the window whose focus changed (this one, now), and a request for the dialog
    // made here would come before that one and be overruled by it.
    if (isActiveWindow() && !isEnabled()) {
      QMetaObject::invokeMethod(
          this,
          [this] {
            if (isActiveWindow()) PresentOwnedModal();
          },
          Qt::QueuedConnection);
    }
    return;
  }
  if (event->type() != QEvent::WindowStateChange) return;
  applying_ = true;
  dialog_->SetMinimized(isMinimized());
  applying_ = false;
  if (!isMinimized() && isVisible()) PresentOwnedModal();
}

void DialogWidget::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (dialog_ == nullptr || applying_ || !event->spontaneous() || !isVisible()) return;
  // Moved by the person (or placed by the window manager): the core's rectangle follows.
  const QRect placed = geometry();
  const RECT& rect = dialog_->ScreenRect();
  const LONG x = placed.x() - frame_.left;
  const LONG y = placed.y() - frame_.top;
  if (x == rect.left && y == rect.top) return;
  applying_ = true;
  dialog_->SetScreenGeometry(RECT{x, y, x + (rect.right - rect.left), y + (rect.bottom - rect.top)},
                             dialog_->ClientSize());
  applying_ = false;
}

}  // namespace platform::qt
