#include "platform/ime.h"

#include <map>
#include <memory>

#include "platform/backend.h"
#include "platform/window.h"

namespace platform {
namespace {

std::map<Window*, std::unique_ptr<InputContext>>& Contexts() {
  static std::map<Window*, std::unique_ptr<InputContext>> contexts;
  return contexts;
}
// References still held when their window went away.
int g_abandoned_references = 0;

// A handle is only followed when it is one of the live contexts.
InputContext* Live(HIMC context) {
  for (auto& [window, owned] : Contexts()) {
    if (owned.get() == context) return owned.get();
  }
  return nullptr;
}

}  // namespace

InputContext* InputContextOf(Window* top_level) {
  auto it = Contexts().find(top_level);
  return it == Contexts().end() ? nullptr : it->second.get();
}

int OutstandingInputContexts() {
  int total = g_abandoned_references;
  for (auto& [window, context] : Contexts()) total += context->references;
  return total;
}

void ForgetInputContext(Window* window) {
  auto it = Contexts().find(window);
  if (it == Contexts().end()) return;
  g_abandoned_references += it->second->references;
  Contexts().erase(it);
}

}  // namespace platform

HIMC ImmGetContext(HWND window) {
  if (!IsWindow(window)) return nullptr;
  platform::Window* top = window->TopLevel();
  auto& slot = platform::Contexts()[top];
  if (!slot) {
    slot = std::make_unique<platform::InputContext>();
    slot->owner = top;
  }
  ++slot->references;
  return slot.get();
}

BOOL ImmReleaseContext(HWND window, HIMC context) {
  platform::InputContext* live = platform::Live(context);
  if (live == nullptr || !IsWindow(window) || live->owner != window->TopLevel() ||
      live->references == 0) {
    return FALSE;  // not obtained, or released already
  }
  --live->references;
  return TRUE;
}

BOOL ImmSetOpenStatus(HIMC context, BOOL open) {
  platform::InputContext* live = platform::Live(context);
  if (live == nullptr) return FALSE;
  live->open = open != FALSE;
  if (platform::Backend* backend = platform::CurrentBackend()) backend->InputMethodChanged(live);
  return TRUE;
}

BOOL ImmGetOpenStatus(HIMC context) {
  platform::InputContext* live = platform::Live(context);
  return live != nullptr && live->open ? TRUE : FALSE;
}
