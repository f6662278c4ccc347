// What app/resources.cpp needs of the framework to register its resources on the build
// machine: the icon is kept, the rest is taken and dropped.
#include <iconv.h>

#include <map>

#include "platform/encoding.h"
#include "platform/resources.h"

namespace platform {

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  iconv_t cd = ::iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in(utf8);
  std::string out(in.size() * 2 + 1, '\0');
  char* in_ptr = in.data();
  char* out_ptr = out.data();
  std::size_t in_left = in.size();
  std::size_t out_left = out.size();
  const std::size_t done = ::iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
  ::iconv_close(cd);
  if (done == static_cast<std::size_t>(-1)) return std::nullopt;
  out.resize(out.size() - out_left);
  return out;
}

void RegisterStringResource(UINT, std::string) {}
void RegisterDialogTemplate(DialogTemplate) {}

namespace {
std::map<int, Icon>& Icons() {
  static std::map<int, Icon> icons;
  return icons;
}
}  // namespace

void RegisterIconResource(Icon icon) {
  const int id = icon.id;
  Icons().insert_or_assign(id, std::move(icon));
}

HICON FindIconResource(int id) {
  auto it = Icons().find(id);
  return it == Icons().end() ? nullptr : &it->second;
}

}  // namespace platform
