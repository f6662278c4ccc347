// The Qt 6 backend: shows the core's dialogs as Qt widgets and turns a person's clicks, keys
// and focus changes into the core's user actions. The program's main makes one and runs the
// application:  platform::QtBackend backend(argc, argv);  return AfxWinMain(...);
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/wintypes.h"

class QApplication;
class QEventLoop;
class QTimer;
class QTranslator;
class QWidget;

namespace platform {

class DialogWindow;

class QtBackend final : public Backend {
 public:
  // Makes the QApplication unless there is one already, and installs itself as the current
  // backend for its lifetime. When Qt cannot open the window system (no display, a display
  // that cannot be reached, or no plugin for it), on_no_display runs and must end the process:
  // it gets one line that names the display tried and gives Qt's reasons ("WAYLAND_DISPLAY=
  // wayland-1 cannot be opened: Failed to create wl_display (...)"), and Qt's own messages
  // are not shown. Without it, Qt reports the failure itself and aborts.
  using NoDisplayHandler = void (*)(const std::string& why);
  explicit QtBackend(int& argc, char** argv, NoDisplayHandler on_no_display = nullptr);
  ~QtBackend() override;
  QtBackend(const QtBackend&) = delete;
  QtBackend& operator=(const QtBackend&) = delete;

  int ShowMessageBox(const std::string& caption, const std::string& text, UINT type) override;
  bool DialogCreated(DialogWindow* dialog) override;
  void RunModalLoop(DialogWindow* dialog) override;
  void ModelessShown(DialogWindow* dialog) override;
  void BeginMove(DialogWindow* dialog) override;
  void ClipboardChanged() override;
  void InputMethodChanged(InputContext* context) override;
  POINT BaseUnits(const DialogWindow* dialog) override;
  POINT ScreenSize() override;

  // The widget that shows a window, nullptr for none (tests and screenshots look with it).
  QWidget* WidgetOf(const Window* window) const;
  // Quits the modal loops whose dialogs the core has ended. Called after every action a
  // person takes, since that is where a handler may have called EndDialog.
  void QuitEndedLoops();

  // The backend that is current, if it is this kind.
  static QtBackend* Instance();

  // Bookkeeping of the widgets, for the widgets themselves.
  void Register(const Window* window, QWidget* widget);
  void Unregister(const Window* window);

 private:
  struct Loop {
    DialogWindow* dialog;
    QEventLoop* loop;
  };
  // Shows the widget and waits until the window system has it on the screen, painted.
  void PaintNow(QWidget* widget);
  // With MORVANE_SCREENSHOT_DIR set, saves a picture of the dialog there.
  void SaveScreenshot(DialogWindow* dialog, QWidget* widget);

  Backend* previous_;
  std::unique_ptr<QApplication> app_;
  std::unique_ptr<QTranslator> translator_;
  std::map<const Window*, QWidget*> widgets_;
  std::vector<Loop> loops_;
  QTimer* loop_watch_ = nullptr;
};

}  // namespace platform
