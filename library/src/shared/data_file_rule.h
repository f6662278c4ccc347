// What counts as Japan Post's data file. The library's open and the orvek command's own reader
// both hold a file to this one rule, looking only at its first line and at its last bytes, so
// that a file that is not the data (an archive, a web page, the UTF-8 edition, a cut copy) is
// refused before a row is shown, at almost no cost to a search.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvek::detail {

enum class DataFileCheck {
  kJapanPost,    // the first line is a record and the last line, if it lacks its end, is whole
  kNotAFile,     // not a regular file or a named pipe (a folder, a device)
  kEmpty,        // no bytes at all
  kZip,          // a ZIP archive, such as Japan Post's ken_all.zip itself
  kUtf8Edition,  // Japan Post's UTF-8 edition (utf_ken_all.csv), which is not read
  kHtml,         // a web page saved in the file's place
  kNotRecord,    // the first line is no Japan Post record in Shift-JIS
  kLongLine,     // a line longer than any record can be
  kCutLastLine,  // the last line ends inside the columns a search reads
  kReadError,    // the file's first or last bytes could not be read
};

// No record of Japan Post's file comes near this many bytes (the longest is under 400); a line
// that does not end within it is not one of theirs.
constexpr std::size_t kLongestRecordLine = 4096;

// Whether a line (without its line end) begins with the nine columns the search reads, whole,
// as Japan Post writes them: a 5-digit local-government code, then eight quoted columns, the
// second of them a quoted 7-digit postal code. Columns after the ninth are not looked at.
bool HoldsRecordColumns(std::string_view line);

// The file's first bytes: at least kLongestRecordLine + 1 of them, or all of the file (whole).
DataFileCheck CheckFileStart(std::string_view start, bool whole);

// The file's last bytes: at least kLongestRecordLine + 1 of them, or all of the file (whole).
// A file may end without a line end, but then its last line must hold its nine columns whole.
DataFileCheck CheckFileEnd(std::string_view end, bool whole);

// The last line of a file that lacks its line end (its CR, if any, still on it).
DataFileCheck CheckUnendedLastLine(std::string_view line);

// What was found, for a person: follows the file's name, e.g. "… is empty; …".
const char* DescribeDataFileCheck(DataFileCheck check);

// What an open file is, told by fstat.
struct DataFileFacts {
  bool regular = false;
  bool pipe = false;
  std::int64_t size = 0;
  std::int64_t modified = 0;  // seconds since 1970
};

// fstat: false when it fails.
bool ReadDataFileFacts(int fd, DataFileFacts& facts);

// Checks the open file fd by the rule. A regular file is read at its start and at its end
// (pread: the file's position is left where it was); a named pipe cannot be read without
// taking its bytes, so it passes here and its reader checks it as it streams. The facts are
// filled for a file of either kind.
DataFileCheck CheckOpenDataFile(int fd, DataFileFacts& facts);

}  // namespace orvek::detail
