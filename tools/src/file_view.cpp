#include "file_view.h"

#include <cstdint>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <sys/mman.h>
#include <sys/stat.h>
#endif

namespace orvek_cli {

#if defined(_WIN32)

FileView::FileView(std::FILE* file) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  LARGE_INTEGER size{};
  if (handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle, &size) || size.QuadPart <= 0 ||
      static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX) {
    return;
  }
  HANDLE mapping = CreateFileMappingW(handle, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (mapping == nullptr) return;
  const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  CloseHandle(mapping);  // the view holds the mapping open
  if (view == nullptr) return;
  data_ = static_cast<const char*>(view);
  size_ = static_cast<std::size_t>(size.QuadPart);
}

FileView::~FileView() {
  if (data_ != nullptr) UnmapViewOfFile(data_);
}

#else

FileView::FileView(std::FILE* file) {
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
  data_ = static_cast<const char*>(view);
  size_ = size;
}

FileView::~FileView() {
  if (data_ != nullptr) munmap(const_cast<char*>(data_), size_);
}

#endif

}  // namespace orvek_cli
