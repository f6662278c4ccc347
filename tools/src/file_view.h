// The whole data file as memory that the system maps from its page cache, so that a search
// reads it where it lies rather than copying it block by block into a buffer of its own.
#pragma once

#include <cstddef>
#include <cstdio>

namespace orvek_cli {

class FileView {
 public:
  // Maps the regular file open in file; mapped() is false when the system cannot map it (an
  // empty file, a pipe, a directory), and the caller reads it as a stream instead.
  explicit FileView(std::FILE* file);
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
