#include "data_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace orvek::detail {

int OpenDataFile() {
  const int fd = ::open("ken_all.csv", O_RDONLY | O_CLOEXEC);
  if (fd >= 0 || errno != ENOENT) return fd;
  return ::open("KEN_ALL.CSV", O_RDONLY | O_CLOEXEC);
}

std::size_t ReadSome(int fd, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return 0;
  }
}

}  // namespace orvek::detail
