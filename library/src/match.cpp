#include "match.h"

#include <cstring>

namespace orvek::detail {
namespace {

bool Equal(const char* key, const char* field) {
  return std::strcmp(key, field) == 0;
}

}  // namespace

int CheckAddress(const char* pref, const char* city, const char* town, int mode,
                 const ST_ORVEK_TBL& record) {
  switch (mode) {
    case 1:
      return Equal(pref, record.szPref) && Equal(city, record.szCity) && Equal(town, record.szTown)
                 ? 1
                 : 0;
    case 2:
      return Equal(pref, record.szPref) && Equal(city, record.szCity) ? 1 : 0;
    case 3:
      return Equal(pref, record.szPref) && Equal(town, record.szTown) ? 1 : 0;
    case 4:
      return Equal(city, record.szCity) && Equal(town, record.szTown) ? 1 : 0;
    case 5:
      return Equal(pref, record.szPref) || Equal(city, record.szCity) || Equal(town, record.szTown)
                 ? 1
                 : 0;
    default:
      return 0;
  }
}

bool Matches(const SearchKeys& keys, const ST_ORVEK_TBL& record) {
  if (keys.kind == SearchKeys::Kind::kPostalCode) return Equal(keys.code, record.szPostalCode);
  return CheckAddress(keys.pref, keys.city, keys.town, keys.mode, record) == 1;
}

}  // namespace orvek::detail
