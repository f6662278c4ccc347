#include "match.h"

#include <cstring>

namespace orvek::detail {
namespace {

bool Equal(const char* key, const char* field) {
  return std::strcmp(key, field) == 0;
}

// strcmp with the field's copy: the key ends where the field does. A field holds no NUL.
bool Equal(const char* key, FieldText field) {
  return std::strncmp(key, field.data, field.length) == 0 && key[field.length] == '\0';
}

// fnChkJusho's table, the fields compared in the order prefecture, city, town area.
template <typename Field>
int CheckFields(const char* pref, const char* city, const char* town, int mode,
                const Field& pref_field, const Field& city_field, const Field& town_field) {
  switch (mode) {
    case 1:
      return Equal(pref, pref_field) && Equal(city, city_field) && Equal(town, town_field) ? 1 : 0;
    case 2:
      return Equal(pref, pref_field) && Equal(city, city_field) ? 1 : 0;
    case 3:
      return Equal(pref, pref_field) && Equal(town, town_field) ? 1 : 0;
    case 4:
      return Equal(city, city_field) && Equal(town, town_field) ? 1 : 0;
    case 5:
      return Equal(pref, pref_field) || Equal(city, city_field) || Equal(town, town_field) ? 1 : 0;
    default:
      return 0;
  }
}

}  // namespace

int CheckAddress(const char* pref, const char* city, const char* town, int mode,
                 const ST_ORVEK_TBL& record) {
  const char* const pref_field = record.szPref;
  const char* const city_field = record.szCity;
  const char* const town_field = record.szTown;
  return CheckFields(pref, city, town, mode, pref_field, city_field, town_field);
}

bool Matches(const SearchKeys& keys, const ST_ORVEK_TBL& record) {
  if (keys.kind == SearchKeys::Kind::kPostalCode) return Equal(keys.code, record.szPostalCode);
  return CheckAddress(keys.pref, keys.city, keys.town, keys.mode, record) == 1;
}

bool Matches(const SearchKeys& keys, const RowFields& fields) {
  if (keys.kind == SearchKeys::Kind::kPostalCode) return Equal(keys.code, fields.code);
  return CheckFields(keys.pref, keys.city, keys.town, keys.mode, fields.pref, fields.city,
                     fields.town) == 1;
}

}  // namespace orvek::detail
