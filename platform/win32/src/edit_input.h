// What a person types or pastes into an edit control, held to code page 932.
#pragma once

#include "platform/wintypes.h"

namespace platform {

// From now on the edit refuses, with a beep, every character that code page 932 cannot hold,
// where it enters: typed (WM_CHAR, a surrogate pair as its two halves, WM_UNICHAR), from the
// input method (WM_IME_CHAR, the result of WM_IME_COMPOSITION) or pasted (WM_PASTE: the whole
// paste, as the Linux build refuses it). The program reads its texts in that code page, which
// would turn such a character into '?' without a word and search for that.
void RefuseCharactersWithoutCp932Form(HWND edit);

}  // namespace platform
