#include "dialog_template.h"

#include <string>

namespace platform {
namespace {

// The predefined window classes, by the atoms a template names them with.
WORD ClassAtom(WindowKind kind) {
  switch (kind) {
    case WindowKind::PushButton:
      return 0x0080;
    case WindowKind::Edit:
      return 0x0081;
    case WindowKind::ListBox:
      return 0x0083;
    case WindowKind::Dialog:
    case WindowKind::StaticText:
    case WindowKind::StaticIcon:
      break;
  }
  return 0x0082;
}

class TemplateWriter {
 public:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Short(int value) { Word(static_cast<WORD>(static_cast<short>(value))); }
  // A NUL-terminated UTF-16 string from CP932 bytes.
  void Text(const std::string& cp932) {
    if (!cp932.empty()) {
      const int size = static_cast<int>(cp932.size());
      const int length = ::MultiByteToWideChar(932, 0, cp932.data(), size, nullptr, 0);
      if (length > 0) {
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        ::MultiByteToWideChar(932, 0, cp932.data(), size, wide.data(), length);
        for (wchar_t ch : wide) Word(static_cast<WORD>(ch));
      }
    }
    Word(0);
  }
  // Items start on a DWORD boundary.
  void AlignDword() {
    if (words_.size() % 2 != 0) Word(0);
  }
  std::vector<WORD> Take() { return std::move(words_); }

 private:
  std::vector<WORD> words_;
};

}  // namespace

std::vector<WORD> BuildDialogTemplate(const DialogTemplate& t) {
  TemplateWriter out;
  const bool has_font = (t.style & DS_SETFONT) != 0;
  out.Dword(t.style);
  out.Dword(t.ex_style);
  out.Word(static_cast<WORD>(t.controls.size()));
  out.Short(0);  // placed by DS_CENTER or over the owner
  out.Short(0);
  out.Short(t.cx);
  out.Short(t.cy);
  out.Word(0);  // no menu
  out.Word(0);  // the dialog class
  out.Text(t.caption);
  if (has_font) {
    out.Word(static_cast<WORD>(t.point_size));
    out.Text(t.font_name);
  }
  for (const ControlTemplate& c : t.controls) {
    out.AlignDword();
    out.Dword(c.style | WS_CHILD | WS_VISIBLE);
    out.Dword(0);
    out.Short(c.x);
    out.Short(c.y);
    out.Short(c.cx);
    out.Short(c.cy);
    out.Word(static_cast<WORD>(c.id));  // -1 becomes 0xFFFF, the classic "no number"
    out.Word(0xFFFF);
    out.Word(ClassAtom(c.kind));
    if (c.kind == WindowKind::StaticIcon && c.icon_id != 0) {
      out.Word(0xFFFF);  // the icon resource by number
      out.Word(static_cast<WORD>(c.icon_id));
    } else {
      out.Text(c.text);
    }
    out.Word(0);  // no creation data
  }
  return out.Take();
}

}  // namespace platform
