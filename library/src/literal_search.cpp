#include "record.h"
#include "row.h"
#include "search.h"
#include "text_reader.h"

namespace orvek::detail {

bool SearchLiteral(int fd, const SearchKeys& keys, RowSink& sink) {
  DataReader file(fd);
  return SearchLiteral(file, keys, sink);
}

bool SearchLiteral(DataReader& file, const SearchKeys& keys, RowSink& sink) {
  TextModeReader reader(file);
  char line[kLineBufferSize];
  std::size_t length = 0;
  ST_ORVEK_TBL record;
  char row[kRowBufferSize];
  while (reader.ReadPiece(line, sizeof line, &length)) {
    ParseLine(line, &record);
    if (!Matches(keys, record)) continue;
    CreateRow(record, row);
    sink.AddRow(row);
  }
  return !reader.Failed();
}

}  // namespace orvek::detail
