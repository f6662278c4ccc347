// The data file as a Windows program reads it in text mode with fgets.
#pragma once

#include <cstddef>
#include <optional>

#include "data_file.h"

namespace orvek::detail {

// Reads a file the way text-mode fgets does where the data file comes from: a CR right
// before an LF is dropped (any other CR stays), and each read gives at most size - 1 bytes,
// ending after an LF, or at the end of the file.
class TextModeReader {
 public:
  explicit TextModeReader(DataReader& file) : file_(file) {}
  explicit TextModeReader(int fd) : own_(std::in_place, fd), file_(*own_) {}
  // It may read through a DataReader of its own: a copy would read through the original's.
  TextModeReader(const TextModeReader&) = delete;
  TextModeReader& operator=(const TextModeReader&) = delete;

  // fgets(buffer, size): false when nothing was left to read, or when a read failed (then the
  // piece that it cut short is not given). The piece may hold NUL bytes; its length in bytes is
  // stored in *length.
  bool ReadPiece(char* buffer, std::size_t size, std::size_t* length);
  // Whether the reading ended at a read error rather than at the end of the file.
  bool Failed() const { return failed_; }

 private:
  int NextByte();  // translated; -1 at the end
  int PeekRaw();   // -1 at the end

  std::optional<DataReader> own_;
  DataReader& file_;
  char raw_[4096];
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  bool failed_ = false;
};

}  // namespace orvek::detail
