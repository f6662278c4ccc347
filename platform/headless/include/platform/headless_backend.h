// The backend without a display. Message boxes go to stderr (in the locale's encoding) and are
// recorded; modal loops take a person's actions from a script that a test writes beforehand.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/wintypes.h"

namespace platform {

struct ShownMessageBox {
  std::string caption;  // CP932
  std::string text;     // CP932
  UINT type;
  std::string active_caption;  // CP932: the active window's caption while the box stood
};

// A modeless dialog as it stood when Create returned.
struct ShownModeless {
  std::string caption;  // CP932
  std::string texts;    // CP932: the controls' texts, joined by '|'
  bool topmost;
  bool visible;
};

// What a person does next, step by step. Each step acts on the dialog that is active when it
// runs (the innermost modal one). A modal loop that needs a step when none is left does not
// wait: it records the failure and ends every open dialog with -1.
class ScriptedUser {
 public:
  ScriptedUser& Click(int id);
  ScriptedUser& Focus(int id);
  ScriptedUser& Type(int id, const std::string& utf8);
  // A click on a row of a list box.
  ScriptedUser& SelectRow(int list_id, int index);
  // A key (VK_ code) pressed, Ctrl held or not, in the control that has the focus; a list box
  // gets it (it answers arrows, Home, End, Page Up and Down, Space; its owner may ask for any).
  ScriptedUser& Key(UINT vk, bool with_control = false);
  ScriptedUser& Tab(bool backwards = false);
  ScriptedUser& Enter();
  ScriptedUser& Space();
  ScriptedUser& Escape();
  ScriptedUser& CloseBox();
  ScriptedUser& AltF4();
  ScriptedUser& SystemCommand(UINT command);
  // Runs a check (or anything) at this point of the flow, in the active dialog.
  ScriptedUser& Then(std::function<void()> step);

  // Empty while every step found its dialog and control and no loop ran dry.
  const std::string& Failure() const { return failure_; }
  std::size_t StepsLeft() const { return steps_.size(); }

 private:
  friend class HeadlessBackend;
  struct Step {
    std::string description;
    std::function<void()> run;
  };
  ScriptedUser& Add(std::string description, std::function<void()> run);
  // The control id of the active dialog, or nullptr after recording a failure.
  HWND Control(int id, const std::string& step);
  HWND Dialog(const std::string& step);
  void Fail(const std::string& why);

  std::deque<Step> steps_;
  std::string failure_;
  bool abandoned_ = false;
  int done_ = 0;
};

class HeadlessBackend : public Backend {
 public:
  // Installs itself as the current backend for its lifetime.
  HeadlessBackend();
  ~HeadlessBackend() override;
  HeadlessBackend(const HeadlessBackend&) = delete;
  HeadlessBackend& operator=(const HeadlessBackend&) = delete;

  int ShowMessageBox(const std::string& caption, const std::string& text, UINT type) override;
  bool DialogCreated(DialogWindow* dialog) override;
  void RunModalLoop(DialogWindow* dialog) override;
  void ModelessShown(DialogWindow* dialog) override;
  void InputMethodChanged(InputContext* context) override;

  ScriptedUser& User() { return user_; }
  const std::vector<ShownMessageBox>& MessageBoxes() const { return message_boxes_; }
  // The modeless dialogs shown so far, in order.
  const std::vector<ShownModeless>& ModelessShown() const { return modeless_shown_; }
  // Every change of an input context's open status, in order.
  const std::vector<bool>& InputMethodLog() const { return ime_log_; }
  void SetEchoToStderr(bool echo) { echo_ = echo; }
  // Makes the next dialog fail to be created (DoModal then gives -1).
  void FailNextDialog() { fail_next_dialog_ = true; }

 private:
  Backend* previous_;
  ScriptedUser user_;
  std::vector<ShownMessageBox> message_boxes_;
  std::vector<ShownModeless> modeless_shown_;
  std::vector<bool> ime_log_;
  bool echo_ = true;
  bool fail_next_dialog_ = false;
};

}  // namespace platform
