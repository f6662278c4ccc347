#include "orvek_test_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace orvek_test {

std::string Quoted(const char* utf8) {
  // Appended in order: inserting the quote in front of the temporary makes gcc 12 at -O3 warn
  // of an overlapping copy that cannot happen (-Wrestrict).
  std::string quoted(1, '"');
  quoted += Cp932(utf8);
  quoted += '"';
  return quoted;
}

WorkingFolder::WorkingFolder() : previous_(std::filesystem::current_path().string()) {
  if (!path_.empty()) std::filesystem::current_path(path_);
}

WorkingFolder::~WorkingFolder() {
  std::filesystem::current_path(previous_);
}

void WorkingFolder::Write(const std::string& name, const std::string& bytes) const {
  test_support::WriteWholeFile(path_ + "/" + name, bytes);
}

void WorkingFolder::Remove(const std::string& name) const {
  std::filesystem::remove(path_ + "/" + name);
}

int OpenBinary(const std::string& path) {
#ifdef O_BINARY
  constexpr int kBinary = O_BINARY;
#else
  constexpr int kBinary = 0;
#endif
  return ::open(path.c_str(), O_RDONLY | kBinary);
}

std::vector<std::string> Rows(const CListBox& list) {
  std::vector<std::string> rows;
  CString row;
  for (int i = 0; i < list.GetCount(); ++i) {
    list.GetText(i, row);
    rows.push_back(row.Bytes());
  }
  return rows;
}

namespace {
class CollectingSink final : public orvek::detail::RowSink {
 public:
  void AddRow(const char* row) override { rows.emplace_back(row); }
  std::vector<std::string> rows;
};
}  // namespace

std::vector<std::string> SearchRows(SearchFunction search, const std::string& path,
                                    const orvek::detail::SearchKeys& keys) {
  const int fd = OpenBinary(path);
  EXPECT_GE(fd, 0) << path;
  CollectingSink sink;
  if (fd >= 0) {
    EXPECT_TRUE(search(fd, keys, sink)) << "reading " << path << " failed";
    ::close(fd);
  }
  return sink.rows;
}

}  // namespace orvek_test
