#include "platform/resources.h"

#include <map>

namespace platform {
namespace {
std::map<UINT, std::string>& StringTable() {
  static std::map<UINT, std::string> table;
  return table;
}
}  // namespace

void RegisterStringResource(UINT id, std::string cp932_text) {
  StringTable()[id] = std::move(cp932_text);
}

const std::string* FindStringResource(UINT id) {
  auto it = StringTable().find(id);
  return it == StringTable().end() ? nullptr : &it->second;
}

}  // namespace platform
