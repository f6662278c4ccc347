// The kinds of window a dialog template names. The windows themselves are the system's.
#pragma once

namespace platform {

enum class WindowKind { Dialog, PushButton, Edit, ListBox, StaticText, StaticIcon };

}  // namespace platform
