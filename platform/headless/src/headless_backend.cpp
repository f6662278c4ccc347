#include "platform/headless_backend.h"

#include <cstdio>

#include "platform/dialogwindow.h"
#include "platform/encoding.h"
#include "platform/ime.h"
#include "platform/user_input.h"

namespace platform {

HeadlessBackend::HeadlessBackend() : previous_(CurrentBackend()) {
  SetBackend(this);
}

HeadlessBackend::~HeadlessBackend() {
  SetBackend(previous_);
}

int HeadlessBackend::ShowMessageBox(const std::string& caption, const std::string& text,
                                    UINT type) {
  Window* active = ActiveWindow();
  message_boxes_.push_back({caption, text, type, active != nullptr ? active->Text() : ""});
  if (echo_) {
    // A line break in the text is kept: the box shows it as two lines, and so does stderr.
    std::fprintf(stderr, "%s: %s\n", Cp932ToLocale(caption).c_str(), Cp932ToLocale(text).c_str());
  }
  return IDOK;
}

bool HeadlessBackend::DialogCreated(DialogWindow* dialog) {
  if (fail_next_dialog_) {
    fail_next_dialog_ = false;
    return false;
  }
  // A nominal screen and the base units of a 9-point gothic font (6 x 12 pixels); a frame
  // with a caption bar.
  PlaceDialog(dialog, BaseUnits(dialog), ScreenSize(), RECT{3, 26, 3, 3});
  return true;
}

void HeadlessBackend::RunModalLoop(DialogWindow* dialog) {
  while (!dialog->ModalEnded()) {
    if (user_.abandoned_) {
      dialog->EndModal(-1);
      return;
    }
    if (user_.steps_.empty()) {
      user_.Fail("the dialog \"" + Cp932ToUtf8(dialog->Text()) +
                 "\" waits for an action, and the script has none left");
      dialog->EndModal(-1);
      return;
    }
    ScriptedUser::Step step = std::move(user_.steps_.front());
    user_.steps_.pop_front();
    ++user_.done_;
    step.run();
  }
}

void HeadlessBackend::ModelessShown(DialogWindow* dialog) {
  std::string texts;
  for (const Window* child : dialog->Children())
    texts += (texts.empty() ? "" : "|") + child->Text();
  modeless_shown_.push_back({dialog->Text(), texts, dialog->IsTopmost(), dialog->IsVisible()});
}

void HeadlessBackend::InputMethodChanged(InputContext* context) {
  ime_log_.push_back(context->open);
}

ScriptedUser& ScriptedUser::Add(std::string description, std::function<void()> run) {
  steps_.push_back({std::move(description), std::move(run)});
  return *this;
}

void ScriptedUser::Fail(const std::string& why) {
  if (failure_.empty()) failure_ = "step " + std::to_string(done_) + ": " + why;
  abandoned_ = true;
}

HWND ScriptedUser::Dialog(const std::string& step) {
  Window* active = ActiveWindow();
  if (active == nullptr) Fail(step + ": no dialog is active");
  return active;
}

HWND ScriptedUser::Control(int id, const std::string& step) {
  HWND dialog = Dialog(step);
  if (dialog == nullptr) return nullptr;
  HWND control = dialog->Child(id);
  if (control == nullptr) {
    Fail(step + ": the dialog \"" + Cp932ToUtf8(dialog->Text()) + "\" has no control " +
         std::to_string(id));
  }
  return control;
}

ScriptedUser& ScriptedUser::Click(int id) {
  return Add("click " + std::to_string(id), [this, id] {
    if (HWND c = Control(id, "click " + std::to_string(id))) user::Click(c);
  });
}

ScriptedUser& ScriptedUser::Focus(int id) {
  return Add("focus " + std::to_string(id), [this, id] {
    if (HWND c = Control(id, "focus " + std::to_string(id))) user::Focus(c);
  });
}

ScriptedUser& ScriptedUser::Type(int id, const std::string& utf8) {
  const std::string what = "type \"" + utf8 + "\" into " + std::to_string(id);
  return Add(what, [this, id, utf8, what] {
    HWND c = Control(id, what);
    if (c == nullptr) return;
    std::optional<std::string> cp932 = Utf8ToCp932(utf8);
    if (!cp932) {
      Fail(what + ": the text has characters that CP932 cannot hold");
      return;
    }
    user::Type(c, *cp932);
  });
}

ScriptedUser& ScriptedUser::SelectRow(int list_id, int index) {
  const std::string what = "select row " + std::to_string(index) + " of " + std::to_string(list_id);
  return Add(what, [this, list_id, index, what] {
    if (HWND c = Control(list_id, what)) user::SelectRow(c, index);
  });
}

ScriptedUser& ScriptedUser::Key(UINT vk, bool with_control) {
  const std::string what = (with_control ? "ctrl+key " : "key ") + std::to_string(vk);
  return Add(what, [this, what, vk, with_control] {
    HWND dialog = Dialog(what);
    if (dialog == nullptr) return;
    Window* focus = dialog->Kind() == WindowKind::Dialog
                        ? static_cast<DialogWindow*>(dialog)->Focus()
                        : nullptr;
    if (focus == nullptr) {
      Fail(what + ": no control has the focus");
      return;
    }
    if (focus->Kind() == WindowKind::ListBox) user::ListKey(focus, vk, with_control);
  });
}

ScriptedUser& ScriptedUser::Tab(bool backwards) {
  return Add(backwards ? "shift+tab" : "tab", [this, backwards] {
    if (HWND d = Dialog("tab")) user::Tab(d, backwards);
  });
}

ScriptedUser& ScriptedUser::Enter() {
  return Add("enter", [this] {
    if (HWND d = Dialog("enter")) user::Enter(d);
  });
}

ScriptedUser& ScriptedUser::Space() {
  return Add("space", [this] {
    if (HWND d = Dialog("space")) user::Space(d);
  });
}

ScriptedUser& ScriptedUser::Escape() {
  return Add("escape", [this] {
    if (HWND d = Dialog("escape")) user::Escape(d);
  });
}

ScriptedUser& ScriptedUser::CloseBox() {
  return Add("close box", [this] {
    if (HWND d = Dialog("close box")) user::CloseBox(d);
  });
}

ScriptedUser& ScriptedUser::AltF4() {
  return Add("alt+f4", [this] {
    if (HWND d = Dialog("alt+f4")) user::AltF4(d);
  });
}

ScriptedUser& ScriptedUser::SystemCommand(UINT command) {
  return Add("system command " + std::to_string(command), [this, command] {
    if (HWND d = Dialog("system command")) user::SystemCommand(d, command);
  });
}

ScriptedUser& ScriptedUser::Then(std::function<void()> step) {
  return Add("check", std::move(step));
}

}  // namespace platform
