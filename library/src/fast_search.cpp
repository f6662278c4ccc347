// The fast search. A hit is a piece whose compared fields equal their keys, and a field that
// equals a key that is not empty and holds no CR or LF is a run of the line's bytes equal to
// that key. So the lines without such a key cannot hold a hit and are skipped unparsed; only
// an empty key (which matches an empty field) asks for a look at each line's commas, done on
// 64 bytes at a time (line_scan.cpp). The lines that remain are cut into exactly the pieces
// that text-mode fgets would give and parsed like every piece of the literal search.
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

#include "byte_search.h"

#include "data_file.h"
#include "line_scan.h"
#include "needle_finder.h"
#include "record.h"
#include "row.h"
#include "search.h"

namespace orvek::detail {
namespace {

// Read size; the data file is streamed, never held whole.
constexpr std::size_t kBlockBytes = 64 * 1024;

bool HoldsLineBreak(const char* key) {
  return std::strpbrk(key, "\r\n") != nullptr;
}

// Which lines must be parsed so that no hit is missed.
struct Plan {
  bool nothing = false;               // no record can match
  bool every_line = false;            // no shortcut is known
  bool irregular_lines = false;       // the lines that may hold an empty field
  std::vector<NeedleFinder> needles;  // the lines that hold one of these
  Simd simd = Simd::kBest;
};

// Every key must equal its field: looking for one of them is enough, the longest one best.
Plan PlanForAll(std::initializer_list<const char*> keys, Simd simd) {
  Plan plan;
  plan.simd = simd;
  const char* wanted = nullptr;
  bool empty_key = false;
  for (const char* key : keys) {
    if (*key == '\0') {
      empty_key = true;
    } else if (!HoldsLineBreak(key) &&
               (wanted == nullptr || std::strlen(key) > std::strlen(wanted))) {
      wanted = key;
    }
  }
  if (wanted != nullptr) {
    plan.needles.emplace_back(wanted, simd);
  } else if (empty_key) {
    plan.irregular_lines = true;
  } else {
    plan.every_line = true;
  }
  return plan;
}

// Any key may decide a match: each one has to be looked for.
Plan PlanForAny(std::initializer_list<const char*> keys, Simd simd) {
  Plan plan;
  plan.simd = simd;
  for (const char* key : keys) {
    if (*key == '\0') {
      plan.irregular_lines = true;
    } else if (HoldsLineBreak(key)) {
      plan.every_line = true;
    } else {
      plan.needles.emplace_back(key, simd);
    }
  }
  return plan;
}

Plan MakePlan(const SearchKeys& keys, Simd simd) {
  if (keys.kind == SearchKeys::Kind::kPostalCode) return PlanForAll({keys.code}, simd);
  switch (keys.mode) {
    case 1:
      return PlanForAll({keys.pref, keys.city, keys.town}, simd);
    case 2:
      return PlanForAll({keys.pref, keys.city}, simd);
    case 3:
      return PlanForAll({keys.pref, keys.town}, simd);
    case 4:
      return PlanForAll({keys.city, keys.town}, simd);
    case 5:
      return PlanForAny({keys.pref, keys.city, keys.town}, simd);
    default: {
      Plan plan;
      plan.nothing = true;
      return plan;
    }
  }
}

class BlockScanner {
 public:
  BlockScanner(const SearchKeys& keys, RowSink& sink, Simd simd)
      : keys_(keys), sink_(sink), plan_(MakePlan(keys, simd)) {}

  bool Run(DataReader& file);  // false after a read error

 private:
  // The complete lines in buffer_[begin, end); end - 1 is an LF.
  void ScanLines(std::size_t begin, std::size_t end);
  // One line without its LF, as the pieces that fgets gives for it.
  void ParseLine(const char* begin, const char* end, bool has_lf);
  void TestPiece(const char* data, std::size_t length);

  const SearchKeys& keys_;
  RowSink& sink_;
  Plan plan_;
  std::unique_ptr<char[]> buffer_;
  // The first line in the buffer goes on from pieces already tested.
  bool continued_line_ = false;
  std::vector<LineSpan> lines_;
  char row_[kRowBufferSize]{};
};

bool BlockScanner::Run(DataReader& file) {
  if (plan_.nothing) return true;
  buffer_ = std::make_unique_for_overwrite<char[]>(kBlockBytes);
  char* const buffer = buffer_.get();
  std::size_t filled = 0;
  for (;;) {
    const ssize_t n = file.Read(buffer + filled, kBlockBytes - filled);
    if (n < 0) return false;  // the lines before the failed read have been tested
    if (n == 0) break;
    filled += static_cast<std::size_t>(n);
    std::size_t done = 0;
    if (const char* lf = FindLastByte(buffer, '\n', filled)) {
      done = static_cast<std::size_t>(lf - buffer) + 1;
      ScanLines(0, done);
    } else if (filled >= kBlockBytes / 2) {
      // A very long line: test its pieces now. A piece only ends where the next byte is in
      // the buffer, since a CR at the end could still be followed by an LF.
      while (filled - done > kPieceBytes) {
        TestPiece(buffer + done, kPieceBytes);
        done += kPieceBytes;
      }
      continued_line_ = true;
    }
    std::memmove(buffer, buffer + done, filled - done);
    filled -= done;
  }
  if (filled > 0) ParseLine(buffer, buffer + filled, false);
  return true;
}

void BlockScanner::ScanLines(std::size_t begin, std::size_t end) {
  const char* const base = buffer_.get();
  const bool continued_line = continued_line_;
  continued_line_ = false;
  if (plan_.every_line) {
    while (begin < end) {
      const auto* lf = static_cast<const char*>(std::memchr(base + begin, '\n', end - begin));
      ParseLine(base + begin, lf, true);
      begin = static_cast<std::size_t>(lf - base) + 1;
    }
    return;
  }

  lines_.clear();
  // Each source lists its lines in order; only lines from more than one need sorting.
  int sources = 0;
  const auto listed = [&](std::size_t first) {
    if (lines_.size() > first) ++sources;
  };
  if (continued_line) {
    const auto* lf = static_cast<const char*>(std::memchr(base + begin, '\n', end - begin));
    lines_.push_back({static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(lf - base)});
    listed(0);
  }
  for (const NeedleFinder& needle : plan_.needles) {
    const std::size_t first = lines_.size();
    const char* from = base + begin;
    while (const char* hit = needle.Find(from, base + end)) {
      const char* before = FindLastByte(from, '\n', static_cast<std::size_t>(hit - from));
      const char* line = before != nullptr ? before + 1 : from;
      const auto* lf = static_cast<const char*>(std::memchr(hit, '\n', base + end - hit));
      lines_.push_back(
          {static_cast<std::uint32_t>(line - base), static_cast<std::uint32_t>(lf - base)});
      from = lf + 1;
    }
    listed(first);
  }
  if (plan_.irregular_lines) {
    const std::size_t first = lines_.size();
    FindIrregularLines(base, begin, end, lines_, plan_.simd);
    listed(first);
  }
  if (sources > 1) {
    std::sort(lines_.begin(), lines_.end());
    lines_.erase(std::unique(lines_.begin(), lines_.end()), lines_.end());
  }
  for (const LineSpan& line : lines_) ParseLine(base + line.begin, base + line.lf, true);
}

void BlockScanner::ParseLine(const char* begin, const char* end, bool has_lf) {
  // Text mode drops the CR of a CR LF; a line's pieces are counted after that.
  if (has_lf && end != begin && end[-1] == '\r') --end;
  const auto content = static_cast<std::size_t>(end - begin);
  const std::size_t total = content + (has_lf ? 1 : 0);
  // A piece's LF, if it has one, ends its last column, so it need not be copied.
  for (std::size_t offset = 0; offset < total; offset += kPieceBytes) {
    TestPiece(begin + offset, offset < content ? std::min(kPieceBytes, content - offset) : 0);
  }
}

void BlockScanner::TestPiece(const char* data, std::size_t length) {
  // The record's four fields that count, where they lie: copying all nine columns into the
  // record only to read four of them back costs more than the rest of a hit.
  RowFields fields;
  ParseRowFields(data, length, &fields);
  if (!Matches(keys_, fields)) return;
  CreateRow(fields, row_);
  sink_.AddRow(row_);
}

}  // namespace

bool SearchFast(DataReader& file, const SearchKeys& keys, RowSink& sink, Simd simd) {
  return BlockScanner(keys, sink, simd).Run(file);
}

bool SearchFast(int fd, const SearchKeys& keys, RowSink& sink, Simd simd) {
  DataReader file(fd);
  return SearchFast(file, keys, sink, simd);
}

}  // namespace orvek::detail
