// Preloaded into the orvek command by its tests: read() on the data file (ken_all.csv or
// KEN_ALL.CSV) gives the first ORVEK_TEST_READ_BUDGET bytes of the file and then fails with
// EIO. With ORVEK_TEST_TRUNCATE_TO instead, the data file is cut to that many bytes at its
// second read, as a copy over it would cut it during a search, and reads go on as usual.
// Every other descriptor reads as usual.
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using ReadFunction = ssize_t (*)(int, void*, size_t);

// The path of the data file open as fd; empty for any other descriptor.
std::string DataFilePath(int fd) {
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  char target[4096];
  const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
  if (n <= 0) return {};
  target[n] = '\0';
  const char* slash = std::strrchr(target, '/');
  const char* name = slash != nullptr ? slash + 1 : target;
  if (std::strcmp(name, "ken_all.csv") == 0 || std::strcmp(name, "KEN_ALL.CSV") == 0) {
    return target;
  }
  return {};
}

int g_data_reads = 0;

std::size_t g_budget = 0;
bool g_budget_read = false;

}  // namespace

extern "C" __attribute__((visibility("default"))) ssize_t read(int fd, void* buffer, size_t size) {
  static const auto real = reinterpret_cast<ReadFunction>(::dlsym(RTLD_NEXT, "read"));
  const std::string path = DataFilePath(fd);
  if (path.empty()) return real(fd, buffer, size);
  if (const char* cut = std::getenv("ORVEK_TEST_TRUNCATE_TO")) {
    if (++g_data_reads == 2 && ::truncate(path.c_str(), std::strtol(cut, nullptr, 10)) != 0) {
      return -1;
    }
    return real(fd, buffer, size);
  }
  if (!g_budget_read) {
    const char* budget = std::getenv("ORVEK_TEST_READ_BUDGET");
    g_budget = budget != nullptr ? std::strtoul(budget, nullptr, 10) : 0;
    g_budget_read = true;
  }
  if (g_budget == 0) {
    errno = EIO;
    return -1;
  }
  const ssize_t n = real(fd, buffer, std::min(size, g_budget));
  if (n > 0) g_budget -= static_cast<std::size_t>(n);
  return n;
}
