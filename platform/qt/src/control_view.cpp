#include "control_view.h"

#include "dialog_widget.h"
#include "platform/qt_backend.h"
#include "platform/user_input.h"

namespace platform::qt {

ControlView::ControlView(Window* window, QWidget* widget, POINT base_units)
    : window_(window), widget_(widget), base_units_(base_units) {
  window_->SetView(this);
  if (QtBackend* backend = QtBackend::Instance()) backend->Register(window_, widget_);
}

ControlView::~ControlView() {
  if (window_ != nullptr) {
    window_->SetView(nullptr);
    if (QtBackend* backend = QtBackend::Instance()) backend->Unregister(window_);
  }
}

void ControlView::WindowDestroying() {
  window_->SetView(nullptr);
  if (QtBackend* backend = QtBackend::Instance()) backend->Unregister(window_);
  window_ = nullptr;
  widget_->hide();
}

void ControlView::ApplyState() {
  if (window_ == nullptr) return;
  const RECT& r = window_->Rect();
  const int left = DluToPixelsX(r.left, base_units_);
  const int top = DluToPixelsY(r.top, base_units_);
  widget_->setGeometry(left, top, DluToPixelsX(r.right, base_units_) - left,
                       DluToPixelsY(r.bottom, base_units_) - top);
  widget_->setEnabled(window_->IsEnabled());
  widget_->setVisible(window_->IsVisible());
}

void ControlView::FocusArrived() {
  if (window_ == nullptr) return;
  auto* dialog = dynamic_cast<DialogWidget*>(widget_->window());
  if (dialog == nullptr || dialog->ShowingFocus()) return;
  user::Focus(window_);
  dialog->ShowFocus();
  AfterAction();
}

void ControlView::AfterAction() {
  if (QtBackend* backend = QtBackend::Instance()) backend->QuitEndedLoops();
}

}  // namespace platform::qt
