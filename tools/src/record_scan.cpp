#include "record_scan.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>

#include "file_view.h"

namespace orvek_cli {
namespace {

// Small enough to stay in the processor's cache between the read and the search.
constexpr std::size_t kBlockSize = std::size_t{128} << 10;

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
      if (!search_ && !screen_.needles.empty())
        search_.emplace(screen_, join_, data + start, complete);
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
      if (!search_ && !screen_.needles.empty())
        search_.emplace(screen_, join_, buffer.data(), complete);
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
      search_->Collect(data, complete, starts_);
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
  std::optional<ScreenSearch> search_;  // made ready on the first block
  std::vector<std::size_t> starts_;
  Record record_;
  Record continuation_;
};

}  // namespace

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
