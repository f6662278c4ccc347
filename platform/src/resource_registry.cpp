#include "platform/resource_registry.h"

#include <map>

#include "framework_port.h"

namespace platform {
namespace {
std::map<UINT, std::string>& StringTable() {
  static std::map<UINT, std::string> table;
  return table;
}
std::map<int, DialogTemplate>& Templates() {
  static std::map<int, DialogTemplate> templates;
  return templates;
}
std::map<int, Icon>& Icons() {
  static std::map<int, Icon> icons;
  return icons;
}
}  // namespace

void RegisterStringResource(UINT id, std::string cp932_text) {
  StringTable()[id] = std::move(cp932_text);
}

const std::string* FindStringResource(UINT id) {
  auto it = StringTable().find(id);
  return it == StringTable().end() ? nullptr : &it->second;
}

void RegisterDialogTemplate(DialogTemplate dialog_template) {
  const int id = dialog_template.id;
  Templates().insert_or_assign(id, std::move(dialog_template));
}

const DialogTemplate* FindDialogTemplate(int id) {
  auto it = Templates().find(id);
  return it == Templates().end() ? nullptr : &it->second;
}

void RegisterIconResource(Icon icon) {
  const int id = icon.id;
  Icons().insert_or_assign(id, std::move(icon));
}

Icon* RegisteredIcon(int id) {
  auto it = Icons().find(id);
  return it == Icons().end() ? nullptr : &it->second;
}

}  // namespace platform
