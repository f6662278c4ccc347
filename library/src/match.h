// What a search looks for, and whether a record is a hit.
#pragma once

#include "orvek/orvek.h"
#include "record.h"

namespace orvek::detail {

// The keys of one search, quoted as the callers pass them; an empty key stands for a blank field.
struct SearchKeys {
  enum class Kind { kPostalCode, kAddress };

  static SearchKeys ForPostalCode(const char* code) {
    return {Kind::kPostalCode, code, "", "", "", 0};
  }
  static SearchKeys ForAddress(const char* pref, const char* city, const char* town, int mode) {
    return {Kind::kAddress, "", pref, city, town, mode};
  }

  Kind kind;
  const char* code;
  const char* pref;
  const char* city;
  const char* town;
  int mode;
};

// fnChkJusho: 1 when the record matches the keys in the mode (1 to 5), else 0.
int CheckAddress(const char* pref, const char* city, const char* town, int mode,
                 const ST_ORVEK_TBL& record);

// fnGetChimei's test (postal code equal) or fnGetOrvek's (CheckAddress gives exactly 1).
bool Matches(const SearchKeys& keys, const ST_ORVEK_TBL& record);
// The same test on the fields where they lie in the piece.
bool Matches(const SearchKeys& keys, const RowFields& fields);

}  // namespace orvek::detail
