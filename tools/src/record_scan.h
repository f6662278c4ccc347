// The command's own reader of the data file: large blocks, no index, no cache. Only the lines
// that can hold a match are parsed into records; the rest of the file is passed over by
// searching each block for the bytes that a match needs.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data_file_rule.h"
#include "whole_record.h"
#include "word_screen.h"

namespace orvek_cli {

// kNotData: the reader met what Japan Post's file never holds (a line longer than any record;
// for a named pipe, a first line that is no record or a cut last line), and stopped.
enum class ScanResult { kRead, kReadError, kNotData };

// What the command says when the data file cannot be read to its end; a mapped file that
// fails under the scan says it too, and ends the process (file_view.h).
constexpr char kReadFailureMessage[] = "orvek: the data file could not be read to its end\n";

// How the file is read: mapped into memory where the system can (no copy of its bytes), else
// or on request in blocks through the stream. Both give the same records.
enum class Reading { kMapped, kBlocks };

// Opens ken_all.csv, or else KEN_ALL.CSV, in the current folder; null when neither opens.
std::FILE* OpenDataFile();

// The data file opened for a search and held to the library's rule (data_file_rule.h): the
// first line and the last bytes of a regular file are looked at now; a named pipe is checked
// by ScanRecords as it streams.
struct DataFile {
  std::FILE* file = nullptr;  // null when neither name opens as a regular file or a pipe
  std::string name;           // the name it was found by; empty when none was found
  orvek::detail::DataFileCheck check = orvek::detail::DataFileCheck::kNotAFile;
  orvek::detail::DataFileFacts facts;
};
// ken_all.csv, else KEN_ALL.CSV, as OpenDataFile; a name that opens but is no regular file or
// pipe (a device) is passed over for the other, and reported when the other is absent too.
DataFile OpenCheckedDataFile();

// Calls visit with every record whose lines pass the screen, in file order; with join, the
// lines of a split town area come as one record. visit returns false to stop reading. The
// file must not have been read from yet. A regular file that does not end at the size it had
// when the scan began, or that changed meanwhile, is a read error (never a shorter result).
// With kNotData, *why (when given) says what was found.
ScanResult ScanRecords(std::FILE* file, const Screen& screen, bool join,
                       const std::function<bool(Record&)>& visit,
                       Reading reading = Reading::kMapped,
                       orvek::detail::DataFileCheck* why = nullptr);

}  // namespace orvek_cli
