#include "data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvek::detail {
namespace {

#ifdef _WIN32
// Windows' runtime opens files in text mode unless told otherwise, which would drop CRs and
// end the file at a ^Z byte; the search reads the bytes as they are.
constexpr int kOpenFlags = O_RDONLY | O_BINARY | O_NOINHERIT;
#else
constexpr int kOpenFlags = O_RDONLY | O_CLOEXEC;
#endif

ssize_t SystemRead(int fd, void* buffer, std::size_t size) {
#ifdef _WIN32
  return ::_read(fd, buffer, static_cast<unsigned>(size));  // blocks are far below 4 GB
#else
  return ::read(fd, buffer, size);
#endif
}

ReadFunction g_read = SystemRead;

// A directory (or a device) opens for reading as well, but gives no lines: it is no data file.
// A named pipe is, since a stream of lines is all the search needs.
bool IsDataFile(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 && (S_ISREG(status.st_mode) || S_ISFIFO(status.st_mode));
}

int OpenFile(const char* name) {
  const int fd = ::open(name, kOpenFlags);
  if (fd < 0 || IsDataFile(fd)) return fd;
  ::close(fd);
  errno = EISDIR;
  return -1;
}

}  // namespace

int OpenDataFile() {
  const int fd = OpenFile("ken_all.csv");
  if (fd >= 0 || (errno != ENOENT && errno != EISDIR)) return fd;
  return OpenFile("KEN_ALL.CSV");
}

ssize_t ReadSome(int fd, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = g_read(fd, buffer, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

DataReader::DataReader(int fd) : fd_(fd) {
  // The facts of the file as the search starts, which is when it has just been opened.
  known_ = ReadDataFileFacts(fd, facts_);
}

DataFileCheck DataReader::CheckPipeStart() {
  if (!known_ || !facts_.pipe) return DataFileCheck::kJapanPost;
  char bytes[4096];
  while (pending_.size() <= kLongestRecordLine && pending_.find('\n') == std::string::npos) {
    const ssize_t n = ReadSome(fd_, bytes, sizeof bytes);
    if (n < 0) return DataFileCheck::kReadError;
    if (n == 0) return CheckFileStart(pending_, true);
    pending_.append(bytes, static_cast<std::size_t>(n));
  }
  return CheckFileStart(pending_, false);
}

ssize_t DataReader::Read(char* buffer, std::size_t size) {
  ssize_t n = 0;
  if (pending_given_ < pending_.size()) {
    const std::size_t count = std::min(size, pending_.size() - pending_given_);
    std::memcpy(buffer, pending_.data() + pending_given_, count);
    pending_given_ += count;
    n = static_cast<ssize_t>(count);
  } else {
    n = ReadSome(fd_, buffer, size);
  }
  if (n > 0) {
    read_ += n;
    if (known_ && facts_.pipe) NoteForEnd(buffer, static_cast<std::size_t>(n));
  } else if (n == 0 && !EndedWhole()) {
    errno = EIO;
    return -1;
  }
  return n;
}

void DataReader::NoteForEnd(const char* bytes, std::size_t size) {
  const auto* end = bytes + size;
  const char* from = bytes;
  for (const char* p = end; p != bytes; --p) {
    if (p[-1] == '\n') {
      from = p;
      last_line_.clear();
      last_line_long_ = false;
      break;
    }
  }
  const auto room = kLongestRecordLine - std::min(kLongestRecordLine, last_line_.size());
  const auto count = static_cast<std::size_t>(end - from);
  last_line_.append(from, std::min(room, count));
  if (count > room) last_line_long_ = true;
}

bool DataReader::EndedWhole() {
  if (!known_ || (!facts_.regular && !facts_.pipe)) return true;
  if (facts_.pipe) {
    return last_line_.empty() ||
           (!last_line_long_ && CheckUnendedLastLine(last_line_) == DataFileCheck::kJapanPost);
  }
  // Read to the size the file had at the start, and still that file: neither cut, nor grown,
  // nor rewritten in place meanwhile.
  DataFileFacts now;
  return read_ == facts_.size && ReadDataFileFacts(fd_, now) && now.size == facts_.size &&
         now.modified == facts_.modified;
}

void SetReadFunctionForTesting(ReadFunction read) {
  g_read = read != nullptr ? read : SystemRead;
}

}  // namespace orvek::detail
