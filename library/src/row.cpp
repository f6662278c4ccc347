#include "row.h"

#include <cstring>

#include "record.h"

namespace orvek::detail {
namespace {

// strcat that remembers where the row ends.
class RowWriter {
 public:
  explicit RowWriter(char* row) : row_(row) { row_[0] = '\0'; }
  void Append(const char* text) { Append(text, std::strlen(text)); }
  void Append(const char* text, std::size_t length) {
    std::memcpy(row_ + length_, text, length);
    length_ += length;
    row_[length_] = '\0';
  }
  // Pairs of spaces after a name of `length` bytes, quotes counted: (width - length) / 2 of
  // them when the name is shorter than limit, so that the column is width - 2 bytes wide once
  // the quotes are gone.
  void AppendPadding(std::size_t length, std::size_t limit, std::size_t width) {
    if (length >= limit) return;
    for (std::size_t pair = 0; pair < (width - length) / 2; ++pair) Append("  ", 2);
  }

 private:
  char* row_;
  std::size_t length_ = 0;
};

}  // namespace

// The longest row: 10 bytes of postal code, 2 + 12 of prefecture and padding, 2 + 24 of city
// and padding, 80 of town area.
static_assert(10 + 2 + 12 + 2 + 24 + sizeof(ST_ORVEK_TBL::szTown) - 1 < kRowBufferSize);

void CreateRow(const ST_ORVEK_TBL& record, char (&row)[kRowBufferSize]) {
  // "1234567" becomes "123-4567"; the opening quote and three digits, then the rest.
  char code[16];
  CopyPadded(code, record.szPostalCode, 4);
  code[4] = '-';
  code[5] = '\0';
  std::strncat(code, record.szPostalCode + 4, 5);
  code[10] = '\0';

  RowWriter writer(row);
  writer.Append(code);
  writer.Append("  ", 2);
  const std::size_t pref = std::strlen(record.szPref);
  writer.Append(record.szPref, pref);
  writer.AppendPadding(pref, 11, 12);
  writer.Append("  ", 2);
  const std::size_t city = std::strlen(record.szCity);
  writer.Append(record.szCity, city);
  writer.AppendPadding(city, 23, 24);
  writer.Append(record.szTown);
}

void DeleteQuotes(char* row) {
  if (row[0] == '\0') return;
  // Removing a quote by moving the rest of the row left (the freed last byte becomes NUL) and
  // looking again from the front finds the next quote no earlier than the last one, so one
  // pass that keeps every other byte gives the same bytes, NULs behind the row included.
  // Every byte is stored and a quote is then written over: no branch on the row's bytes,
  // whose quotes fall at places no predictor learns.
  char* kept = row;
  const char* read = row;
  for (; *read != '\0'; ++read) {
    *kept = *read;
    kept += *read != '"' ? 1 : 0;
  }
  std::memset(kept, '\0', static_cast<std::size_t>(read - kept) + 1);
}

}  // namespace orvek::detail
