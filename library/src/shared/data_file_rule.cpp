#include "data_file_rule.h"

#include <sys/stat.h>
#include <sys/types.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <string>

#include "platform/encoding.h"

namespace orvek::detail {
namespace {

bool IsDigits(std::string_view text, std::size_t count) {
  if (text.size() != count) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool IsQuoted(std::string_view column) {
  return column.size() >= 2 && column.front() == '"' && column.back() == '"';
}

// Strict UTF-8 (no overlong forms, no surrogates), with at least one character beyond ASCII:
// Shift-JIS text with a kana or a kanji never is.
bool IsUtf8BeyondAscii(std::string_view text) {
  bool beyond_ascii = false;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (byte >= 0xC2 && byte <= 0xDF) {
      length = 2;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      length = 3;
      if (byte == 0xE0) low = 0xA0;
      if (byte == 0xED) high = 0x9F;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      length = 4;
      if (byte == 0xF0) low = 0x90;
      if (byte == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return false;
    }
    beyond_ascii = true;
    i += length;
  }
  return beyond_ascii;
}

// Every byte decodes as CP932: the converter marks anything else with U+FFFD, which no CP932
// character becomes.
bool DecodesAsCp932(std::string_view text) {
  return platform::Cp932ToUtf8(text).find("\xEF\xBF\xBD") == std::string::npos;
}

std::string_view WithoutCr(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

bool IsHtml(std::string_view start) {
  std::size_t i = 0;
  if (start.substr(0, 3) == "\xEF\xBB\xBF") i = 3;  // a byte-order mark
  while (i < start.size() &&
         (start[i] == ' ' || start[i] == '\t' || start[i] == '\r' || start[i] == '\n')) {
    ++i;
  }
  return i < start.size() && start[i] == '<';
}

#ifdef _WIN32
using FileStatus = struct _stati64;
int StatusOf(int fd, FileStatus* status) {
  return ::_fstati64(fd, status);
}
#else
using FileStatus = struct stat;
int StatusOf(int fd, FileStatus* status) {
  return ::fstat(fd, status);
}
#endif

// Reads up to size bytes at offset, leaving the file's position as it was; the bytes read, or
// -1 on a read error.
std::int64_t ReadAt(int fd, std::int64_t offset, char* buffer, std::size_t size) {
  std::size_t done = 0;
#ifdef _WIN32
  const std::int64_t position = ::_telli64(fd);
  if (position < 0 || ::_lseeki64(fd, offset, SEEK_SET) < 0) return -1;
  while (done < size) {
    const int n = ::_read(fd, buffer + done, static_cast<unsigned>(size - done));
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  if (::_lseeki64(fd, position, SEEK_SET) < 0) return -1;
#else
  while (done < size) {
    const ssize_t n = ::pread(fd, buffer + done, size - done,
                              static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
#endif
  return static_cast<std::int64_t>(done);
}

}  // namespace

bool HoldsRecordColumns(std::string_view line) {
  std::string_view columns[9];
  std::size_t at = 0;
  for (std::size_t i = 0; i < 9; ++i) {
    if (at > line.size()) return false;  // the line ended before this column
    const std::size_t comma = line.find(',', at);
    const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
    columns[i] = line.substr(at, end - at);
    at = end + 1;
  }
  if (!IsDigits(columns[0], 5)) return false;
  for (std::size_t i = 1; i < 9; ++i) {
    if (!IsQuoted(columns[i])) return false;
  }
  return IsDigits(columns[2].substr(1, columns[2].size() - 2), 7);
}

DataFileCheck CheckUnendedLastLine(std::string_view line) {
  if (line.size() > kLongestRecordLine) return DataFileCheck::kLongLine;
  return HoldsRecordColumns(WithoutCr(line)) ? DataFileCheck::kJapanPost
                                             : DataFileCheck::kCutLastLine;
}

DataFileCheck CheckFileStart(std::string_view start, bool whole) {
  if (start.empty()) return DataFileCheck::kEmpty;
  if (start.substr(0, 2) == "PK" && start.size() >= 4 &&
      ((start[2] == '\x03' && start[3] == '\x04') || (start[2] == '\x05' && start[3] == '\x06'))) {
    return DataFileCheck::kZip;
  }
  if (IsHtml(start)) return DataFileCheck::kHtml;
  const std::size_t lf = start.substr(0, kLongestRecordLine + 1).find('\n');
  if (lf == std::string_view::npos && !(whole && start.size() <= kLongestRecordLine)) {
    return DataFileCheck::kLongLine;
  }
  std::string_view line = WithoutCr(start.substr(0, lf));
  const bool bom = line.substr(0, 3) == "\xEF\xBB\xBF";
  if (bom) line.remove_prefix(3);
  if (!HoldsRecordColumns(line)) return DataFileCheck::kNotRecord;
  if (bom || IsUtf8BeyondAscii(line)) return DataFileCheck::kUtf8Edition;
  if (!DecodesAsCp932(line)) return DataFileCheck::kNotRecord;
  return DataFileCheck::kJapanPost;
}

DataFileCheck CheckFileEnd(std::string_view end, bool whole) {
  if (end.empty() || end.back() == '\n') return DataFileCheck::kJapanPost;
  const std::size_t lf = end.rfind('\n');
  if (lf == std::string_view::npos) {
    // One line and no line end: the start's check has seen it whole, unless it is long.
    if (whole) return CheckUnendedLastLine(end);
    return DataFileCheck::kLongLine;
  }
  return CheckUnendedLastLine(end.substr(lf + 1));
}

const char* DescribeDataFileCheck(DataFileCheck check) {
  switch (check) {
    case DataFileCheck::kJapanPost:
      return "is a whole Japan Post postal-code file";
    case DataFileCheck::kNotAFile:
      return "is not a regular file or a named pipe";
    case DataFileCheck::kEmpty:
      return "is empty; download ken_all.zip from Japan Post again and unpack KEN_ALL.CSV";
    case DataFileCheck::kZip:
      return "looks like a ZIP archive, not the data: unpack KEN_ALL.CSV from it";
    case DataFileCheck::kUtf8Edition:
      return "looks like Japan Post's UTF-8 edition (utf_ken_all.csv), which Morvane does not "
             "read; use KEN_ALL.CSV from ken_all.zip, in Shift-JIS";
    case DataFileCheck::kHtml:
      return "is an HTML page, not the data (a download that went wrong?); download "
             "ken_all.zip again and unpack KEN_ALL.CSV";
    case DataFileCheck::kNotRecord:
      return "does not start with a Japan Post record (a 5-digit local-government code, a "
             "quoted 7-digit postal code, Shift-JIS text): it is not KEN_ALL.CSV";
    case DataFileCheck::kLongLine:
      return "has a line longer than any Japan Post record: it is not KEN_ALL.CSV";
    case DataFileCheck::kCutLastLine:
      return "ends in a cut line (an interrupted copy or download); download it again";
    case DataFileCheck::kReadError:
      return "could not be read";
  }
  return "is not Japan Post's file";
}

bool ReadDataFileFacts(int fd, DataFileFacts& facts) {
  FileStatus status{};
  if (StatusOf(fd, &status) != 0) return false;
  facts.regular = S_ISREG(status.st_mode);
#ifdef S_ISFIFO
  facts.pipe = S_ISFIFO(status.st_mode);
#else
  facts.pipe = false;
#endif
  facts.size = facts.regular ? static_cast<std::int64_t>(status.st_size) : 0;
  facts.modified = static_cast<std::int64_t>(status.st_mtime);
  return true;
}

DataFileCheck CheckOpenDataFile(int fd, DataFileFacts& facts) {
  if (!ReadDataFileFacts(fd, facts)) return DataFileCheck::kReadError;
  if (!facts.regular && !facts.pipe) return DataFileCheck::kNotAFile;
  if (facts.pipe) return DataFileCheck::kJapanPost;
  constexpr std::size_t kLook = kLongestRecordLine + 1;
  char bytes[kLook];
  const std::int64_t start = ReadAt(fd, 0, bytes, kLook);
  if (start < 0) return DataFileCheck::kReadError;
  const bool whole = facts.size <= static_cast<std::int64_t>(kLook);
  const DataFileCheck first =
      CheckFileStart(std::string_view(bytes, static_cast<std::size_t>(start)), whole);
  if (first != DataFileCheck::kJapanPost) return first;
  const std::int64_t from = whole ? 0 : facts.size - static_cast<std::int64_t>(kLook);
  const std::int64_t end = ReadAt(fd, from, bytes, kLook);
  if (end < 0) return DataFileCheck::kReadError;
  return CheckFileEnd(std::string_view(bytes, static_cast<std::size_t>(end)), whole);
}

}  // namespace orvek::detail
