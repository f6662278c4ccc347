// The records as the command prints them: the classic fixed columns, or every column for
// scripts as TSV, CSV (RFC 4180), JSON or JSON Lines.
#pragma once

#include <string>
#include <vector>

#include "command_line.h"
#include "record.h"

namespace orvek_cli {

// The whole output of the records, ready to write: UTF-8, or CP932 when asked for (text,
// tsv and csv only).
std::string FormatRecords(const std::vector<Record>& records, Format format,
                          OutputEncoding encoding);

}  // namespace orvek_cli
