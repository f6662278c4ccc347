#include "whole_record.h"

#include <algorithm>

#include "kana_width.h"
#include "row_layout.h"

namespace orvek_cli {
namespace {

// （ and ） in CP932.
constexpr std::string_view kOpenBracket = "\x81\x69";
constexpr std::string_view kCloseBracket = "\x81\x6A";

// "以下に掲載がない場合" and its reading ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ, in CP932.
constexpr std::string_view kNotListed =
    "\x88\xc8\x89\xba\x82\xc9\x8c\x66\x8d\xda\x82\xaa\x82\xc8\x82\xa2\x8f\xea\x8d\x87";
constexpr std::string_view kNotListedReading =
    "\xb2\xb6\xc6\xb9\xb2\xbb\xb2\xb6\xde\xc5\xb2\xca\xde\xb1\xb2";

// （ minus ） in one walk, character by character so that a trail byte never counts as the
// start of one.
int BracketBalance(std::string_view text) {
  int balance = 0;
  for (std::size_t i = 0; i < text.size(); i += Cp932CharLength(text, i)) {
    if (text[i] != kOpenBracket[0] || i + 1 == text.size()) continue;
    if (text[i + 1] == kOpenBracket[1]) ++balance;
    if (text[i + 1] == kCloseBracket[1]) --balance;
  }
  return balance;
}

bool BracketsOpen(std::string_view town) {
  return BracketBalance(town) > 0;
}

void AppendPadded(std::string& row, const std::string& name, std::size_t width) {
  row += name;
  // The library pads a name with its quotes counted (they go afterwards), and so do these
  // rows, which come out equal to its rows.
  row.append(orvek::row_layout::PaddingAfter(name.size() + 2, width), ' ');
}

}  // namespace

void ParseLine(std::string_view line, Record& record) {
  std::size_t at = 0;
  for (int column = 0; column < kColumnCount; ++column) {
    std::string& text = record.columns[column];
    text.clear();
    if (at > line.size()) continue;
    if (at < line.size() && line[at] == '"') {
      ++at;
      for (;;) {
        const std::size_t quote = line.find('"', at);
        if (quote == std::string_view::npos) {  // never closed: the rest of the line
          text.append(line.substr(at));
          at = line.size();
          break;
        }
        text.append(line.substr(at, quote - at));
        at = quote + 1;
        if (at >= line.size() || line[at] != '"') break;
        text += '"';  // "" inside quotes
        ++at;
      }
    }
    const std::size_t comma = line.find(',', at);
    const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
    text.append(line.substr(at, end - at));
    at = end + 1;
  }
  record.lines = 1;
}

bool OpensSplitTownArea(const Record& record) {
  return BracketsOpen(record[kTown]);
}

bool AppendContinuation(Record& record, const Record& next, const std::string& first_reading) {
  record[kTown] += next[kTown];
  if (next[kTownKana] != first_reading) record[kTownKana] += next[kTownKana];
  ++record.lines;
  return BracketsOpen(record[kTown]);
}

void CleanRecord(Record& record) {
  if (record[kTown] != kNotListed) return;
  record[kTown].clear();
  if (record[kTownKana] == kNotListedReading) record[kTownKana].clear();
}

std::string ClassicRow(const Record& record) {
  namespace layout = orvek::row_layout;
  const std::string& code = record[kPostalCode];
  std::string row;
  row.reserve(layout::kTownColumn + record[kTown].size());
  row.append(code, 0, layout::kCodeHead)
      .append(1, layout::kCodeHyphen)
      .append(code, std::min(layout::kCodeHead, code.size()), layout::kCodeTail);
  row += layout::kSeparator;
  AppendPadded(row, record[kPrefecture], layout::kPrefWidth);
  row += layout::kSeparator;
  AppendPadded(row, record[kCity], layout::kCityWidth);
  row += record[kTown];
  return row;
}

}  // namespace orvek_cli
