#include "record_scan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "file_view.h"
#include "platform/encoding.h"

namespace orvek_cli {
namespace {

// Small enough to stay in the processor's cache between the read and the search.
constexpr std::size_t kBlockSize = std::size_t{128} << 10;
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

std::string_view LineAt(const char* data, std::size_t complete, std::size_t start,
                        std::size_t& next) {
  const void* newline = std::memchr(data + start, '\n', complete - start);
  const std::size_t end = newline == nullptr ? complete : static_cast<const char*>(newline) - data;
  next = end + 1;
  std::string_view line(data + start, end - start);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

class Scanner {
 public:
  Scanner(const Screen& screen, bool join, const std::function<bool(Record&)>& visit)
      : screen_(screen), join_(join), visit_(visit) {}

  ScanResult Run(std::FILE* file, Reading reading) {
    const int fd = fileno(file);
    known_ = fd >= 0 && orvek::detail::ReadDataFileFacts(fd, facts_);
    ScanResult result = ScanResult::kRead;
    if (reading == Reading::kMapped) {
      const FileView view(file, kReadFailureMessage);
      if (view.mapped()) {
        read_ = static_cast<std::int64_t>(view.size());
        result = RunOver(view.data(), view.size());
        // A file cut short under the view raises SIGBUS; one rewritten in place, or cut and
        // grown again, is told by its size and time.
        return result == ScanResult::kRead && !Unchanged(fd) ? ScanResult::kReadError : result;
      }
    }
    result = RunBlocks(file);
    return result == ScanResult::kRead && !Unchanged(fd) ? ScanResult::kReadError : result;
  }

  orvek::detail::DataFileCheck why() const { return why_; }

 private:
  // The mapped file, a block-sized window at a time, so that the searches of one window find
  // it in the processor's cache as they would a block read into a buffer.
  ScanResult RunOver(const char* data, std::size_t size) {
    stopped_early_ = false;
    std::size_t start = 0;
    std::size_t window = kBlockSize;
    while (start < size) {
      const bool at_end = size - start <= window;
      std::size_t complete = at_end ? size - start : window;
      if (!at_end) {
        while (complete > 0 && data[start + complete - 1] != '\n') --complete;
        if (complete == 0) return NotData(orvek::detail::DataFileCheck::kLongLine);
      }
      if (searches_.empty() && !screen_.needles.empty()) PrepareSearches(data + start, complete);
      bool stopped = false;
      const std::size_t done = Process(data + start, complete, at_end, stopped);
      if (not_data_) return ScanResult::kNotData;
      if (stopped) stopped_early_ = true;
      if (stopped || at_end) break;
      if (done == 0) {  // one split record larger than the window
        window *= 2;
        continue;
      }
      start += done;
      window = kBlockSize;
    }
    return ScanResult::kRead;
  }

  ScanResult RunBlocks(std::FILE* file) {
    using orvek::detail::DataFileCheck;
    const bool pipe = known_ && facts_.pipe;
    std::vector<char> buffer(kBlockSize);
    std::size_t filled = 0;
    bool at_end = false;
    bool first = true;
    while (!at_end || filled > 0) {
      if (!at_end) {
        if (filled == buffer.size()) {
          // Only a split record may outgrow the block; a line never does.
          if (std::memchr(buffer.data(), '\n', filled) == nullptr) {
            return NotData(DataFileCheck::kLongLine);
          }
          buffer.resize(buffer.size() * 2);
        }
        const std::size_t got = std::fread(buffer.data() + filled, 1, buffer.size() - filled, file);
        filled += got;
        read_ += static_cast<std::int64_t>(got);
        if (got == 0) {
          if (std::ferror(file)) return ScanResult::kReadError;
          at_end = true;
        }
      }
      std::size_t complete = filled;
      if (!at_end) {
        while (complete > 0 && buffer[complete - 1] != '\n') --complete;
        if (complete == 0) continue;  // no whole line yet: read more
      }
      // A pipe could not be looked at when it was opened: its first line and its last are
      // held to the rule here, before a record of theirs is visited.
      if (pipe && first) {
        const DataFileCheck check =
            orvek::detail::CheckFileStart(std::string_view(buffer.data(), filled), at_end);
        if (check != DataFileCheck::kJapanPost) return NotData(check);
      }
      first = false;
      if (pipe && at_end && filled > 0 && buffer[filled - 1] != '\n') {
        const std::string_view bytes(buffer.data(), filled);
        const std::size_t lf = bytes.rfind('\n');
        const DataFileCheck check = orvek::detail::CheckUnendedLastLine(
            lf == std::string_view::npos ? bytes : bytes.substr(lf + 1));
        if (check != DataFileCheck::kJapanPost) return NotData(check);
      }
      if (searches_.empty() && !screen_.needles.empty()) PrepareSearches(buffer.data(), complete);
      bool stopped = false;
      const std::size_t done = Process(buffer.data(), complete, at_end, stopped);
      if (not_data_) return ScanResult::kNotData;
      if (stopped) {
        stopped_early_ = true;
        return ScanResult::kRead;
      }
      if (done == 0 && !at_end && complete == filled) {
        buffer.resize(buffer.size() * 2);  // one split record larger than the buffer
      }
      std::memmove(buffer.data(), buffer.data() + done, filled - done);
      filled -= done;
      if (at_end && done == 0) break;
    }
    return ScanResult::kRead;
  }

  void PrepareSearches(const char* data, std::size_t size) {
    std::array<std::size_t, 256> counts{};
    for (std::size_t i = 0; i < std::min(size, kSampleSize); ++i) {
      ++counts[static_cast<unsigned char>(data[i])];
    }
    for (const Needle& needle : screen_.needles) {
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

  // Visits the records of the whole lines in data[0, complete); returns how many bytes are
  // done with. A split record whose end is not in the block yet is left for the next one.
  std::size_t Process(const char* data, std::size_t complete, bool at_end, bool& stopped) {
    // Line starts, shifted left by one; the low bit tells the lines found because they may
    // open a split town area, so that sorted, a line found by both comes once.
    starts_.clear();
    if (screen_.needles.empty()) {
      for (std::size_t at = 0; at < complete;) {
        starts_.push_back(at << 1);
        const void* newline = std::memchr(data + at, '\n', complete - at);
        at = newline == nullptr ? complete : static_cast<const char*>(newline) - data + 1;
      }
    } else {
      for (std::size_t i = 0; i < searches_.size(); ++i) {
        const bool bracket = join_ && i + 1 == searches_.size();
        searches_[i].Collect(data, complete, starts_, bracket ? 1 : 0, bracket);
      }
      std::sort(starts_.begin(), starts_.end());
    }
    std::size_t done = 0;
    for (std::size_t i = 0; i < starts_.size(); ++i) {
      const std::size_t start = starts_[i] >> 1;
      if (start < done) continue;  // a line already joined into a record
      std::size_t next = 0;
      const std::string_view line = LineAt(data, complete, start, next);
      if (line.size() > orvek::detail::kLongestRecordLine) {
        NotData(orvek::detail::DataFileCheck::kLongLine);
        return 0;
      }
      ParseLine(line, record_);
      if (join_ && OpensSplitTownArea(record_)) {
        const std::string first_reading = record_[kTownKana];
        bool open = true;
        while (open) {
          if (next >= complete) {
            if (!at_end) return start;
            break;
          }
          std::size_t after = 0;
          const std::string_view part = LineAt(data, complete, next, after);
          if (part.size() > orvek::detail::kLongestRecordLine) {
            NotData(orvek::detail::DataFileCheck::kLongLine);
            return 0;
          }
          ParseLine(part, continuation_);
          if (continuation_[kPostalCode] != record_[kPostalCode]) break;
          open = AppendContinuation(record_, continuation_, first_reading);
          next = after;
        }
      }
      done = std::min(next, complete);
      if (!visit_(record_)) {
        stopped = true;
        return done;
      }
    }
    return complete;
  }

  ScanResult NotData(orvek::detail::DataFileCheck why) {
    not_data_ = true;
    why_ = why;
    return ScanResult::kNotData;
  }

  // Whether the file was read to the size it had when the scan began, and is still that file.
  // A scan that was told to stop has not read to the end.
  bool Unchanged(int fd) const {
    if (!known_ || !facts_.regular) return true;
    orvek::detail::DataFileFacts now;
    return (stopped_early_ || read_ == facts_.size) && orvek::detail::ReadDataFileFacts(fd, now) &&
           now.size == facts_.size && now.modified == facts_.modified;
  }

  const Screen& screen_;
  bool join_;
  bool known_ = false;
  orvek::detail::DataFileFacts facts_;
  std::int64_t read_ = 0;
  bool stopped_early_ = false;
  bool not_data_ = false;
  orvek::detail::DataFileCheck why_ = orvek::detail::DataFileCheck::kJapanPost;
  const std::function<bool(Record&)>& visit_;
  std::vector<NeedleSearch> searches_;
  std::vector<std::size_t> starts_;
  Record record_;
  Record continuation_;
};

}  // namespace

Needle::Needle(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length =
        platform::IsCp932LeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2
                                                                                                : 1;
    chars.push_back({std::string(bytes.substr(i, length))});
    i += length;
  }
}

namespace {

// A folder opens as a stream on some systems but holds no lines: it is no data file, and
// Japan Post's name beside it is tried, as the library does.
std::FILE* OpenIfNoFolder(const char* name) {
  std::error_code error;
  if (std::filesystem::is_directory(name, error)) return nullptr;
  return std::fopen(name, "rb");
}

}  // namespace

std::FILE* OpenDataFile() {
  std::FILE* file = OpenIfNoFolder("ken_all.csv");
  if (file == nullptr) file = OpenIfNoFolder("KEN_ALL.CSV");
  // The reader asks for whole blocks: unbuffered, each is one read straight into its buffer,
  // where the stream's own buffer would split it into a 4 KB read and the rest.
  if (file != nullptr) std::setvbuf(file, nullptr, _IONBF, 0);
  return file;
}

DataFile OpenCheckedDataFile() {
  using orvek::detail::DataFileCheck;
  DataFile found;
  for (const char* name : {"ken_all.csv", "KEN_ALL.CSV"}) {
    std::FILE* file = OpenIfNoFolder(name);
    if (file == nullptr) continue;
    DataFile candidate;
    candidate.name = name;
    const int fd = fileno(file);
    candidate.check =
        fd >= 0 ? orvek::detail::CheckOpenDataFile(fd, candidate.facts) : DataFileCheck::kReadError;
    if (candidate.check == DataFileCheck::kNotAFile) {
      std::fclose(file);
      if (found.name.empty()) found = candidate;  // said when the other name is no better
      continue;
    }
    std::setvbuf(file, nullptr, _IONBF, 0);  // as OpenDataFile, for whole-block reads
    candidate.file = file;
    return candidate;
  }
  return found;
}

ScanResult ScanRecords(std::FILE* file, const Screen& screen, bool join,
                       const std::function<bool(Record&)>& visit, Reading reading,
                       orvek::detail::DataFileCheck* why) {
  Scanner scanner(screen, join, visit);
  const ScanResult result = scanner.Run(file, reading);
  if (result == ScanResult::kNotData && why != nullptr) *why = scanner.why();
  return result;
}

}  // namespace orvek_cli
