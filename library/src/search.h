// One pass over the data file: every record that matches the keys becomes a row, in file order.
#pragma once

#include "data_file.h"
#include "match.h"
#include "simd.h"

namespace orvek::detail {

// Receives the rows of a search, quotes still in them.
class RowSink {
 public:
  virtual void AddRow(const char* row) = 0;

 protected:
  ~RowSink() = default;
};

// Both searches return false when reading the file failed before its end; the rows of the
// lines read until then have been given to the sink.

// The reference: one text-mode fgets of at most 499 bytes at a time, each piece parsed with
// ParseLine and tested.
bool SearchLiteral(DataReader& file, const SearchKeys& keys, RowSink& sink);
bool SearchLiteral(int fd, const SearchKeys& keys, RowSink& sink);

// The same rows, found without parsing every line: the file is read in blocks, and only the
// lines that can hold a hit are cut into pieces and parsed (see fast_search.cpp).
bool SearchFast(DataReader& file, const SearchKeys& keys, RowSink& sink, Simd simd);
inline bool SearchFast(DataReader& file, const SearchKeys& keys, RowSink& sink) {
  return SearchFast(file, keys, sink, Simd::kBest);
}
// The same on a file just opened, read by a DataReader of its own.
bool SearchFast(int fd, const SearchKeys& keys, RowSink& sink, Simd simd);
inline bool SearchFast(int fd, const SearchKeys& keys, RowSink& sink) {
  return SearchFast(fd, keys, sink, Simd::kBest);
}

}  // namespace orvek::detail
