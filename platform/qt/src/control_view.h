// What every control widget shares: the core window it shows, its place in dialog units, and
// the way a person's focus change reaches the core.
#pragma once

#include <QWidget>

#include "platform/dialogwindow.h"
#include "platform/window.h"

namespace platform::qt {

class ControlView : public WindowView {
 public:
  ControlView(Window* window, QWidget* widget, POINT base_units);
  ~ControlView() override;
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  // Nullptr once the core has destroyed the window.
  Window* CoreWindow() const { return window_; }
  void StateChanged() override { ApplyState(); }
  void WindowDestroying() override;

 protected:
  // Enabled, visible and the rectangle, from the core.
  void ApplyState();
  // Qt moved the focus here (a click, or the window activated): tell the core, and go back
  // to the core's focus when it did not take it.
  void FocusArrived();
  // A person's action has been handed to the core: end the modal loops it ended.
  static void AfterAction();

  Window* window_;
  QWidget* widget_;
  POINT base_units_;
};

}  // namespace platform::qt
