// The command's own reader of the data file: large blocks, no index, no cache. Only the lines
// that can hold a match are parsed into records; the rest of the file is passed over by
// searching each block for the bytes that a match needs.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "record.h"

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

enum class ScanResult { kRead, kReadError };

// What the command says when the data file cannot be read to its end; a mapped file that
// fails under the scan says it too, and ends the process (file_view.h).
constexpr char kReadFailureMessage[] = "orvek: the data file could not be read to its end\n";

// How the file is read: mapped into memory where the system can (no copy of its bytes), else
// or on request in blocks through the stream. Both give the same records.
enum class Reading { kMapped, kBlocks };

// Opens ken_all.csv, or else KEN_ALL.CSV, in the current folder; null when neither opens.
std::FILE* OpenDataFile();

// Calls visit with every record whose lines pass the screen, in file order; with join, the
// lines of a split town area come as one record. visit returns false to stop reading. The
// file must not have been read from yet.
ScanResult ScanRecords(std::FILE* file, const Screen& screen, bool join,
                       const std::function<bool(Record&)>& visit,
                       Reading reading = Reading::kMapped);

}  // namespace orvek_cli
