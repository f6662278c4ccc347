#include "file_view.h"

#if !defined(_WIN32)

#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace orvek_cli {
namespace {

// A page that cannot be read raises SIGBUS. The handler may call only what is safe in a
// signal handler: write and _exit.
const char* g_failure_message = "";
struct sigaction g_previous_action {};

extern "C" void OnBusError(int) {
  const ssize_t written = ::write(STDERR_FILENO, g_failure_message, std::strlen(g_failure_message));
  (void)written;
  ::_exit(1);
}

}  // namespace

FileView::FileView(std::FILE* file, const char* failure_message) {
  const int descriptor = fileno(file);
  struct stat info {};
  if (descriptor < 0 || fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) ||
      info.st_size <= 0 || static_cast<std::uintmax_t>(info.st_size) > SIZE_MAX) {
    return;
  }
  const auto size = static_cast<std::size_t>(info.st_size);
  int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
  flags |= MAP_POPULATE;  // every page is read anyway: map them all in one call, not by faults
#endif
  void* view = mmap(nullptr, size, PROT_READ, flags, descriptor, 0);
  if (view == MAP_FAILED) return;
  g_failure_message = failure_message;
  struct sigaction action {};
  action.sa_handler = OnBusError;
  sigemptyset(&action.sa_mask);
  if (sigaction(SIGBUS, &action, &g_previous_action) != 0) {
    munmap(view, size);
    return;
  }
  data_ = static_cast<const char*>(view);
  size_ = size;
}

FileView::~FileView() {
  if (data_ == nullptr) return;
  munmap(const_cast<char*>(data_), size_);
  sigaction(SIGBUS, &g_previous_action, nullptr);
}

}  // namespace orvek_cli

#else

namespace orvek_cli {

// Windows reports a page that cannot be read as a structured exception, which this code does
// not catch: the file is read as a stream there.
FileView::FileView(std::FILE*, const char*) {}
FileView::~FileView() = default;

}  // namespace orvek_cli

#endif
