#include "platform/clipboard.h"

#include "platform/backend.h"
#include "platform/copy_text.h"

namespace platform {
namespace {
std::string& Text() {
  static std::string text;
  return text;
}
int g_writes = 0;
}  // namespace

void SetClipboardText(const std::string& cp932) {
  Text() = cp932;
  ++g_writes;
  if (Backend* backend = CurrentBackend()) backend->ClipboardChanged();
}

const std::string& ClipboardText() {
  return Text();
}

int ClipboardWrites() {
  return g_writes;
}

bool CopyText(HWND /*owner*/, std::string_view cp932) {
  SetClipboardText(std::string(cp932));
  return true;
}

}  // namespace platform
