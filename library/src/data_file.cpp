#include "data_file.h"

#include <fcntl.h>
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
}  // namespace

int OpenDataFile() {
  const int fd = ::open("ken_all.csv", kOpenFlags);
  if (fd >= 0 || errno != ENOENT) return fd;
  return ::open("KEN_ALL.CSV", kOpenFlags);
}

std::size_t ReadSome(int fd, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return 0;
  }
}

}  // namespace orvek::detail
