#include "word_screen.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "platform/encoding.h"

namespace orvek_cli {
namespace {

// The bytes of the file's start counted to find the rarest bytes.
constexpr std::size_t kSampleSize = std::size_t{64} << 10;
constexpr std::string_view kColumnBoundary = "\",\"";
constexpr std::string_view kOpenBracket = "\x81\x69";  // （, in every split town area

// Bytes taken by the character that a byte starts, where a second byte follows: 2 for a
// CP932 lead byte, else 1. A table, since the walk below runs over thousands of lines.
constexpr auto kCharBytes = [] {
  std::array<unsigned char, 256> bytes{};
  for (int b = 0; b < 256; ++b) {
    bytes[b] = platform::IsCp932LeadByte(static_cast<unsigned char>(b)) ? 2 : 1;
  }
  return bytes;
}();

// （ minus ） in CP932 text, counted character by character.
bool OpensMoreThanCloses(const char* begin, const char* end) {
  int open = 0;
  for (const char* p = begin; p + 1 < end;) {
    if (*p == kOpenBracket[0]) {  // both brackets start with this lead byte
      if (p[1] == kOpenBracket[1]) ++open;
      if (p[1] == '\x6A') --open;
    }
    p += kCharBytes[static_cast<unsigned char>(*p)];
  }
  return open > 0;
}

}  // namespace

// One spelling of one character of a needle, searched for by its rarest byte: memchr skips the
// rest of the block at the speed of memory, and only the few places where that byte occurs are
// looked at closely. A character with several spellings takes a search for each.
class NeedleSearch {
 public:
  NeedleSearch(const Needle& needle, std::size_t anchor, std::size_t spelling,
               const std::array<std::size_t, 256>& counts)
      : chars_(needle.chars), anchor_(anchor), spelling_(chars_[anchor][spelling]) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < spelling_.size(); ++i) {
      if (counts[static_cast<unsigned char>(spelling_[i])] <
          counts[static_cast<unsigned char>(spelling_[best])]) {
        best = i;
      }
    }
    byte_ = spelling_[best];
    for (std::size_t i = 0; i < spelling_.size(); ++i) {
      if (spelling_[i] == byte_) offsets_.push_back(i);
    }
  }

  // Adds the start of every line in data that contains the needle, with the tag given.
  // With opening_only, a line counts only when it opens more brackets than it closes from
  // the needle on: the search for split town areas passes over the thousands of lines whose
  // （ closes on the same line without looking for where they start.
  void Collect(const char* data, std::size_t size, std::vector<std::size_t>& line_starts,
               std::size_t tag, bool opening_only = false) const {
    std::size_t at = 0;
    while (at < size) {
      const void* hit = std::memchr(data + at, byte_, size - at);
      if (hit == nullptr) return;
      const std::size_t position = static_cast<const char*>(hit) - data;
      const std::size_t needle_start = MatchesAround(data, size, position);
      if (needle_start == kNoMatch) {
        at = position + 1;
        continue;
      }
      const void* end = std::memchr(data + position, '\n', size - position);
      const std::size_t line_end = end == nullptr ? size : static_cast<const char*>(end) - data;
      at = line_end + 1;
      if (opening_only && !OpensMoreThanCloses(data + needle_start, data + line_end)) continue;
      std::size_t start = position;
      while (start > 0 && data[start - 1] != '\n') --start;
      line_starts.push_back(start << 1 | tag);
    }
  }

  // The number of bytes in a sample like the file that a search must look at closely: the
  // fewer, the better the character as the one to search by.
  static std::size_t Cost(const std::vector<std::string>& spellings,
                          const std::array<std::size_t, 256>& counts) {
    std::size_t cost = 0;
    for (const std::string& spelling : spellings) {
      std::size_t rarest = SIZE_MAX;
      for (char c : spelling) rarest = std::min(rarest, counts[static_cast<unsigned char>(c)]);
      cost += spelling.empty() ? 0 : rarest + 1;
    }
    return cost;
  }

 private:
  static constexpr std::size_t kNoMatch = SIZE_MAX;

  // Where the needle starts, if it lies around the byte found at position; else kNoMatch.
  std::size_t MatchesAround(const char* data, std::size_t size, std::size_t position) const {
    for (std::size_t offset : offsets_) {
      if (position < offset || size - (position - offset) < spelling_.size()) continue;
      const std::size_t start = position - offset;
      if (!SameBytes(data + start, spelling_)) continue;
      if (!MatchesForward(data, size, start + spelling_.size())) continue;
      const std::size_t needle_start = MatchesBackward(data, start);
      if (needle_start != kNoMatch) return needle_start;
    }
    return kNoMatch;
  }

  // The characters after the anchor against data[at..], allowing a column boundary before each.
  bool MatchesForward(const char* data, std::size_t size, std::size_t at) const {
    for (std::size_t i = anchor_ + 1; i < chars_.size();) {
      const std::size_t length = SpellingAt(chars_[i], data, size, at);
      if (length != kNoMatch) {
        at += length;
        ++i;
      } else if (BoundaryAt(data, size, at)) {
        at += kColumnBoundary.size();
      } else {
        return false;
      }
    }
    return true;
  }

  // The characters before the anchor against the bytes before at, the same way backwards;
  // returns where the first character starts.
  std::size_t MatchesBackward(const char* data, std::size_t at) const {
    for (std::size_t i = anchor_; i > 0;) {
      const std::size_t length = SpellingBefore(chars_[i - 1], data, at);
      if (length != kNoMatch) {
        at -= length;
        --i;
      } else if (at >= kColumnBoundary.size() &&
                 BoundaryAt(data, at, at - kColumnBoundary.size())) {
        at -= kColumnBoundary.size();
      } else {
        return kNoMatch;
      }
    }
    return at;
  }

  // The length of the spelling of a character at data[at..], or kNoMatch.
  static std::size_t SpellingAt(const std::vector<std::string>& spellings, const char* data,
                                std::size_t size, std::size_t at) {
    for (const std::string& s : spellings) {
      if (size - at >= s.size() && SameBytes(data + at, s)) {
        return s.size();
      }
    }
    return kNoMatch;
  }

  // The length of the spelling of a character that ends at data[at], or kNoMatch.
  static std::size_t SpellingBefore(const std::vector<std::string>& spellings, const char* data,
                                    std::size_t at) {
    for (const std::string& s : spellings) {
      if (at >= s.size() && SameBytes(data + at - s.size(), s)) {
        return s.size();
      }
    }
    return kNoMatch;
  }

  // A character's spelling is a byte or two: compared inline, not through memcmp.
  static bool SameBytes(const char* data, const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (data[i] != bytes[i]) return false;
    }
    return true;
  }

  static bool BoundaryAt(const char* data, std::size_t size, std::size_t at) {
    return size - at >= kColumnBoundary.size() &&
           std::memcmp(data + at, kColumnBoundary.data(), kColumnBoundary.size()) == 0;
  }

  std::vector<std::vector<std::string>> chars_;
  std::size_t anchor_;                // the character searched for
  std::string spelling_;              // its spelling searched for
  char byte_ = 0;                     // the spelling's rarest byte, given to memchr
  std::vector<std::size_t> offsets_;  // where that byte is in the spelling
};

Needle::Needle(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length =
        platform::IsCp932LeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2
                                                                                                : 1;
    chars.push_back({std::string(bytes.substr(i, length))});
    i += length;
  }
}

ScreenSearch::ScreenSearch(const Screen& screen, bool join, const char* sample, std::size_t size)
    : join_(join) {
  std::array<std::size_t, 256> counts{};
  for (std::size_t i = 0; i < std::min(size, kSampleSize); ++i) {
    ++counts[static_cast<unsigned char>(sample[i])];
  }
  for (const Needle& needle : screen.needles) {
    if (needle.chars.empty()) continue;
    // By the character that costs the least to look for, in each of its spellings.
    std::size_t anchor = 0;
    for (std::size_t i = 1; i < needle.chars.size(); ++i) {
      if (NeedleSearch::Cost(needle.chars[i], counts) <
          NeedleSearch::Cost(needle.chars[anchor], counts)) {
        anchor = i;
      }
    }
    for (std::size_t s = 0; s < needle.chars[anchor].size(); ++s) {
      searches_.emplace_back(needle, anchor, s, counts);
    }
  }
  if (join_) searches_.emplace_back(Needle(kOpenBracket), 0, 0, counts);
}

ScreenSearch::~ScreenSearch() = default;

void ScreenSearch::Collect(const char* data, std::size_t size,
                           std::vector<std::size_t>& starts) const {
  for (std::size_t i = 0; i < searches_.size(); ++i) {
    const bool bracket = join_ && i + 1 == searches_.size();
    searches_[i].Collect(data, size, starts, bracket ? 1 : 0, bracket);
  }
  std::sort(starts.begin(), starts.end());
}

}  // namespace orvek_cli
