// The whole data file as memory that the system maps from its page cache, so that a search
// reads it where it lies rather than copying it block by block into a buffer of its own.
#pragma once

#include <cstddef>
#include <cstdio>

namespace orvek_cli {

class FileView {
 public:
  // Maps the regular file open in file; mapped() is false when the system cannot map it (an
  // empty file, a pipe, a folder, or a system without the call), and the caller reads it as a
  // stream instead. While the view lives, a page of the file that cannot be read (a disk
  // error, or the file cut short under the search) ends the process with exit status 1,
  // writing failure_message to stderr: a stream's read would have failed there, and the
  // rows found so far must not be printed as if the file had ended.
  FileView(std::FILE* file, const char* failure_message);
  ~FileView();
  FileView(const FileView&) = delete;
  FileView& operator=(const FileView&) = delete;

  bool mapped() const { return data_ != nullptr; }
  const char* data() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  const char* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace orvek_cli
