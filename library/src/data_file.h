// Where the data file is found, and how a search reads it.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "shared/data_file_rule.h"

namespace orvek::detail {

// Opens "ken_all.csv" in the current directory for reading; when there is no file of that
// name (nothing, or something that is not a file, such as a directory), "KEN_ALL.CSV", the
// name in Japan Post's archive. Only a regular file or a named pipe is a data file: anything
// else counts as a file that cannot be opened. A file descriptor, or -1.
int OpenDataFile();

// read() that retries when interrupted: the number of bytes read, 0 at the end of the file,
// -1 on a read error.
ssize_t ReadSome(int fd, char* buffer, std::size_t size);

// A search's reading of an open data file. A read that ends before the size the file had when
// the reader was made, or after it, or with the file changed meanwhile, fails like a read
// error: a file cut short or replaced during a search never passes for a shorter one. A named
// pipe, which cannot be looked at beforehand, is held to the rule as it streams: its first
// line by CheckPipeStart before anything else is read, and at its end a last line without
// its line end must be whole, or the end fails as a read error.
class DataReader {
 public:
  explicit DataReader(int fd);

  // For a named pipe: reads its first line (keeping its bytes for Read) and checks it by the
  // rule. For a regular file, nothing to do: kJapanPost.
  DataFileCheck CheckPipeStart();

  // As ReadSome, with the failures above.
  ssize_t Read(char* buffer, std::size_t size);

 private:
  bool EndedWhole();
  void NoteForEnd(const char* bytes, std::size_t size);

  int fd_;
  DataFileFacts facts_;
  bool known_ = false;  // fstat answered
  std::int64_t read_ = 0;
  std::string pending_;  // a pipe's first bytes, read by CheckPipeStart, not yet given
  std::size_t pending_given_ = 0;
  std::string last_line_;  // a pipe's bytes after its last LF so far, at most a line's worth
  bool last_line_long_ = false;
};

// Lets the library's tests make reads fail; nullptr restores read(2).
using ReadFunction = ssize_t (*)(int fd, void* buffer, std::size_t size);
void SetReadFunctionForTesting(ReadFunction read);

}  // namespace orvek::detail
