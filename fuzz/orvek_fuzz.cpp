// libFuzzer target: the line parser, the row code, and the fast search against the literal
// one, on whatever bytes the fuzzer makes up.
//   mkdir -p build-asan/fuzz-corpus
//   build-asan/bin/orvek_fuzz -max_total_time=60 build-asan/fuzz-corpus fuzz/corpus
// (new inputs go to the first folder; the seeds in fuzz/corpus stay as they are)
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "match.h"
#include "record.h"
#include "row.h"
#include "search.h"
#include "shared/data_file_rule.h"

namespace {

using orvek::detail::SearchKeys;

void Check(bool condition) {
  if (!condition) std::abort();
}

class CollectingSink final : public orvek::detail::RowSink {
 public:
  void AddRow(const char* row) override { rows.emplace_back(row); }
  std::vector<std::string> rows;
};

std::vector<std::string> Rows(bool (*search)(int, const SearchKeys&, orvek::detail::RowSink&),
                              int fd, const SearchKeys& keys) {
  Check(::lseek(fd, 0, SEEK_SET) == 0);
  CollectingSink sink;
  search(fd, keys, sink);
  return sink.rows;
}

bool SearchFastSse2(int fd, const SearchKeys& keys, orvek::detail::RowSink& sink) {
  return orvek::detail::SearchFast(fd, keys, sink, orvek::detail::Simd::kSse2);
}

// The line parser: the fields the search leaves in the piece must be the literal record's, the
// rows made from either must agree, and a row fits its buffer and loses all its quotes.
void CheckLine(const std::string& text) {
  ST_ORVEK_TBL literal;
  std::memset(&literal, 1, sizeof literal);
  orvek::detail::ParseLine(text.c_str(), &literal);
  orvek::detail::RowFields fields;
  orvek::detail::ParseRowFields(text.data(), text.size(), &fields);
  const auto same = [](const char* field, orvek::detail::FieldText piece) {
    return std::strlen(field) == piece.length && std::memcmp(field, piece.data, piece.length) == 0;
  };
  Check(same(literal.szPostalCode, fields.code) && same(literal.szPref, fields.pref) &&
        same(literal.szCity, fields.city) && same(literal.szTown, fields.town));

  // A line that the data-file rule takes for a record gives the search a whole postal code
  // (within the line buffer, and without the line ends and NULs that cut a line short); the
  // rule's checks take any bytes.
  if (text.size() < 400 && text.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos &&
      orvek::detail::HoldsRecordColumns(text)) {
    Check(std::strlen(literal.szPostalCode) == 9);
  }
  orvek::detail::CheckFileStart(text, true);
  orvek::detail::CheckFileEnd(text, true);

  char row[orvek::detail::kRowBufferSize];
  char row_of_fields[orvek::detail::kRowBufferSize];
  orvek::detail::CreateRow(literal, row);
  orvek::detail::CreateRow(fields, row_of_fields);
  Check(std::strcmp(row, row_of_fields) == 0);
  Check(std::strlen(row) <= 130);
  orvek::detail::DeleteQuotes(row);
  Check(std::strchr(row, '"') == nullptr);
}

// The searches: keys taken from the file's own first record, so that some lines match.
void CheckSearches(const std::string& file, int mode) {
  const int fd = ::memfd_create("orvek-fuzz", 0);
  Check(fd >= 0);
  Check(::write(fd, file.data(), file.size()) == static_cast<ssize_t>(file.size()));
  ST_ORVEK_TBL first;
  orvek::detail::ParseLine(file.substr(0, orvek::detail::kPieceBytes).c_str(), &first);
  const std::string blank;
  const SearchKeys searches[] = {
      SearchKeys::ForPostalCode(first.szPostalCode),
      SearchKeys::ForAddress(first.szPref, first.szCity, first.szTown, mode),
      SearchKeys::ForAddress(first.szPref, blank.c_str(), first.szTown, mode),
      SearchKeys::ForAddress(blank.c_str(), first.szCity, blank.c_str(), mode),
  };
  for (const SearchKeys& keys : searches) {
    const std::vector<std::string> literal = Rows(orvek::detail::SearchLiteral, fd, keys);
    Check(Rows(orvek::detail::SearchFast, fd, keys) == literal);
    Check(Rows(SearchFastSse2, fd, keys) == literal);
  }
  ::close(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  CheckLine(text);
  CheckSearches(text, data[0] % 7);
  return 0;
}
