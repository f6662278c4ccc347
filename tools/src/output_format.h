// The records as the command prints them: the classic fixed columns, or every column for
// scripts as TSV, CSV (RFC 4180), JSON or JSON Lines.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "command_line.h"
#include "whole_record.h"

namespace orvek_cli {

// Formats records one by one as they are found, so that none has to be kept.
class RecordWriter {
 public:
  RecordWriter(Format format, OutputEncoding encoding);
  ~RecordWriter();
  RecordWriter(const RecordWriter&) = delete;
  RecordWriter& operator=(const RecordWriter&) = delete;

  void Add(const Record& record);
  // The whole output, ready to write, in the encoding asked for (text, tsv and csv; JSON is
  // always UTF-8). It lives as long as the writer.
  std::string_view Finish();

 private:
  struct Json;
  Format format_;
  OutputEncoding encoding_;
  std::string out_;
  std::size_t count_ = 0;
  std::unique_ptr<Json> json_;
};

}  // namespace orvek_cli
