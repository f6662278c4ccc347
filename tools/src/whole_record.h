// One address record with all fifteen columns of Japan Post's file, as the command's own
// reader sees it: unquoted CP932 text, and records that the file splits over several lines
// joined into one.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace orvek_cli {

enum Column : int {
  kLocalGovernmentCode,
  kOldCode,
  kPostalCode,
  kPrefectureKana,
  kCityKana,
  kTownKana,
  kPrefecture,
  kCity,
  kTown,
  kTownHasSeveralCodes,  // one town area served by more than one postal code
  kNumberedPerKoaza,     // lot numbers counted per small section (koaza)
  kHasChome,             // the town area is divided into chome
  kCodeHasSeveralTowns,  // one postal code serving more than one town area
  kUpdateStatus,         // 0 unchanged, 1 changed, 2 abolished
  kUpdateReason,         // 0 to 6, why the record changed
  kColumnCount
};

struct Record {
  std::array<std::string, kColumnCount> columns;
  int lines = 1;  // lines of the file joined into this record

  const std::string& operator[](Column column) const { return columns[column]; }
  std::string& operator[](Column column) { return columns[column]; }
};

// Cuts one line (its CR LF already gone) into the record's columns as CSV: a quoted column
// loses its quotes, "" inside one is a quote, and a comma inside quotes stays text. Missing
// columns are empty; columns after the fifteenth are ignored.
void ParseLine(std::string_view line, Record& record);

// True when the record's town area opens a （ that it does not close: Japan Post carries such a
// town area on over the following lines of the same postal code.
bool OpensSplitTownArea(const Record& record);

// Adds the next line of a split town area to the record. The town reading is added too,
// unless the line repeats the first line's reading unchanged. Returns true while the
// town area's brackets are still open.
bool AppendContinuation(Record& record, const Record& next, const std::string& first_reading);

// The town area Japan Post writes for a city with no town areas listed; --clean empties it
// and its reading, as other tools built on the file do.
void CleanRecord(Record& record);

// The classic fixed-column row (code, prefecture, city, town area) that the library prints,
// built from the record's names.
std::string ClassicRow(const Record& record);

}  // namespace orvek_cli
