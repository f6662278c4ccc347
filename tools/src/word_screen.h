// The word screen of the command's reader: before a line is parsed, each block of the file is
// searched for the bytes that a match must contain, so that only the few lines that hold them
// are parsed at all.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvek_cli {

// A text that a line must contain, character by character; a character may have several
// spellings (ひ or ヒ), any of which counts there.
struct Needle {
  std::vector<std::vector<std::string>> chars;

  Needle() = default;
  // Each CP932 character spelled as it is.
  Needle(std::string_view bytes);
  Needle(const std::string& bytes) : Needle(std::string_view(bytes)) {}
  Needle(const char* bytes) : Needle(std::string_view(bytes)) {}
};

// The needles of which a line must contain at least one for its record to be worth parsing.
// Between two characters of a needle the line may have a column boundary "," (a word may run
// on from the city into the town area). No needles: every line is parsed.
struct Screen {
  std::vector<Needle> needles;
};

class NeedleSearch;

// A screen made ready for one file: each needle is searched for by the character whose
// spellings are rarest in the file's first bytes, and with join, the lines that may open a
// split town area are looked for too.
class ScreenSearch {
 public:
  // sample: the file's first block, whose bytes are counted to choose what to search for.
  ScreenSearch(const Screen& screen, bool join, const char* sample, std::size_t size);
  ~ScreenSearch();
  ScreenSearch(const ScreenSearch&) = delete;
  ScreenSearch& operator=(const ScreenSearch&) = delete;

  // The start of every line in data[0, size) that passes, in order, shifted left by one; the
  // low bit tells a line found because it may open a split town area, so that a line found
  // both ways comes once after the other.
  void Collect(const char* data, std::size_t size, std::vector<std::size_t>& starts) const;

 private:
  std::vector<NeedleSearch> searches_;
  bool join_;
};

}  // namespace orvek_cli
