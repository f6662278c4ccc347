// The clipboard of Windows: the text goes as UTF-16 converted from CP932, so that it reads the
// same whatever the system's code page; the system offers it as CF_TEXT too.
#include "platform/copy_text.h"

#include <cstring>
#include <string>

namespace platform {

bool CopyText(HWND owner, std::string_view cp932) {
  constexpr UINT kCp932 = 932;
  const int size = static_cast<int>(cp932.size());
  const int length =
      size == 0 ? 0 : ::MultiByteToWideChar(kCp932, 0, cp932.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (length > 0) ::MultiByteToWideChar(kCp932, 0, cp932.data(), size, wide.data(), length);
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) return false;
  void* target = ::GlobalLock(memory);
  if (target == nullptr) {
    ::GlobalFree(memory);
    return false;
  }
  std::memcpy(target, wide.c_str(), bytes);
  ::GlobalUnlock(memory);
  if (!::OpenClipboard(owner)) {
    ::GlobalFree(memory);
    return false;
  }
  ::EmptyClipboard();
  // Once set, the memory is the clipboard's.
  const bool set = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  ::CloseClipboard();
  if (!set) ::GlobalFree(memory);
  return set;
}

}  // namespace platform
