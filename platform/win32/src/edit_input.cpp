#include "edit_input.h"

#include <imm.h>

#include <string>
#include <unordered_map>

namespace platform {
namespace {

// The subclass sees the messages in UTF-16 (it is installed with the wide functions), before
// the system converts any text to the program's code page.
struct GuardedEdit {
  WNDPROC original = nullptr;
  // The high half of a surrogate pair was refused; its low half goes without a second beep.
  bool refused_high_half = false;
};

std::unordered_map<HWND, GuardedEdit>& GuardedEdits() {
  static std::unordered_map<HWND, GuardedEdit> edits;
  return edits;
}

bool HasCp932Form(std::wstring_view text) {
  if (text.empty()) return true;
  BOOL lossy = FALSE;
  const int bytes =
      ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                            nullptr, 0, nullptr, &lossy);
  return bytes > 0 && !lossy;
}

void Refuse() {
  ::MessageBeep(MB_OK);
}

std::wstring ClipboardText(HWND owner) {
  std::wstring text;
  if (!::OpenClipboard(owner)) return text;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* wide = static_cast<const wchar_t*>(::GlobalLock(data))) {
      text = wide;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

std::wstring CompositionResult(HWND edit) {
  std::wstring text;
  HIMC context = ::ImmGetContext(edit);
  if (context == nullptr) return text;
  const LONG bytes = ::ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
  if (bytes > 0) {
    text.resize(static_cast<std::size_t>(bytes) / sizeof(wchar_t));
    ::ImmGetCompositionStringW(context, GCS_RESULTSTR, text.data(), static_cast<DWORD>(bytes));
  }
  ::ImmReleaseContext(edit, context);
  return text;
}

// Whether a character the edit is given (one UTF-16 unit) may go in.
bool TakesUnit(GuardedEdit& state, WPARAM wparam) {
  const auto unit = static_cast<wchar_t>(wparam);
  const bool low_half = unit >= 0xDC00 && unit <= 0xDFFF;
  const bool after_refused_high = state.refused_high_half;
  state.refused_high_half = false;
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    // No character beyond the first 65,536 has a form in code page 932.
    state.refused_high_half = true;
    Refuse();
    return false;
  }
  if (low_half) {
    if (!after_refused_high) Refuse();
    return false;
  }
  if (unit < 0x80 || HasCp932Form(std::wstring_view(&unit, 1))) return true;
  Refuse();
  return false;
}

LRESULT CALLBACK GuardingProcedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
  auto& edits = GuardedEdits();
  const auto found = edits.find(edit);
  if (found == edits.end()) return ::DefWindowProcW(edit, message, wparam, lparam);
  GuardedEdit& state = found->second;
  const WNDPROC original = state.original;
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    edits.erase(found);
    return ::CallWindowProcW(original, edit, message, wparam, lparam);
  }
  // A read-only edit takes nothing anyway; it answers as it always does.
  if ((::GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0) {
    return ::CallWindowProcW(original, edit, message, wparam, lparam);
  }
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
      if (!TakesUnit(state, wparam)) return 0;
      break;
    case WM_UNICHAR:
      if (wparam != UNICODE_NOCHAR &&
          (wparam > 0xFFFF || !HasCp932Form(std::wstring(1, static_cast<wchar_t>(wparam))))) {
        Refuse();
        return FALSE;
      }
      break;
    case WM_PASTE:
      if (!HasCp932Form(ClipboardText(edit))) {
        Refuse();
        return 0;
      }
      break;
    case WM_IME_COMPOSITION:
      if ((lparam & GCS_RESULTSTR) != 0 && !HasCp932Form(CompositionResult(edit))) {
        // The composition ends; its result does not go in.
        Refuse();
        lparam &= ~static_cast<LPARAM>(GCS_RESULTSTR | GCS_RESULTCLAUSE | GCS_RESULTREADSTR |
                                       GCS_RESULTREADCLAUSE);
      }
      break;
    default:
      break;
  }
  return ::CallWindowProcW(original, edit, message, wparam, lparam);
}

}  // namespace

void RefuseCharactersWithoutCp932Form(HWND edit) {
  if (!::IsWindow(edit) || GuardedEdits().contains(edit)) return;
  GuardedEdit& state = GuardedEdits()[edit];
  state.original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(edit, GWLP_WNDPROC));
  ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GuardingProcedure));
}

}  // namespace platform
