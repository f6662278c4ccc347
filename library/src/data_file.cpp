#include "data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace orvek::detail {
namespace {

ReadFunction g_read = ::read;

// A directory (or a device) opens for reading as well, but gives no lines: it is no data file.
// A named pipe is, since a stream of lines is all the search needs.
bool IsDataFile(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 && (S_ISREG(status.st_mode) || S_ISFIFO(status.st_mode));
}

int OpenFile(const char* name) {
  const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
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

void SetReadFunctionForTesting(ReadFunction read) {
  g_read = read != nullptr ? read : ::read;
}

}  // namespace orvek::detail
