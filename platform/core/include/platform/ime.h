// The input-method manager: one input context per top-level window, with an open status that
// says whether Japanese input is on. The Qt backend maps the status to what Linux input
// methods understand.
#pragma once

#include "platform/wintypes.h"

namespace platform {

struct InputContext {
  Window* owner = nullptr;
  bool open = false;
  int references = 0;
};

// The context of a top-level window (nullptr for none); for tests and the backends.
InputContext* InputContextOf(Window* top_level);
// Number of ImmGetContext calls not yet matched by a release, over all windows.
int OutstandingInputContexts();
// Drops the context of a window that is being destroyed.
void ForgetInputContext(Window* window);

}  // namespace platform

HIMC ImmGetContext(HWND window);
BOOL ImmReleaseContext(HWND window, HIMC context);
BOOL ImmSetOpenStatus(HIMC context, BOOL open);
BOOL ImmGetOpenStatus(HIMC context);
