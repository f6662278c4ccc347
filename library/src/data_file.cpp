#include "data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

void SetReadFunctionForTesting(ReadFunction read) {
  g_read = read != nullptr ? read : SystemRead;
}

}  // namespace orvek::detail
