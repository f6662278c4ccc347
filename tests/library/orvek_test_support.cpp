#include "orvek_test_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/encoding.h"

namespace orvek_test {

std::string Sj(const char* utf8) {
  const auto cp932 = platform::Utf8ToCp932(utf8);
  EXPECT_TRUE(cp932.has_value()) << utf8;
  return cp932.value_or("");
}

std::string Quoted(const char* utf8) {
  // Appended in order: inserting the quote in front of the temporary makes gcc 12 at -O3 warn
  // of an overlapping copy that cannot happen (-Wrestrict).
  std::string quoted(1, '"');
  quoted += Sj(utf8);
  quoted += '"';
  return quoted;
}

WorkingFolder::WorkingFolder() : previous_(std::filesystem::current_path().string()) {
  // A name no other test run holds: create_directory fails on an existing folder.
  std::random_device random;
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("orvek-test-" + std::to_string(random()));
    std::error_code error;
    if (std::filesystem::create_directory(folder, error)) path_ = folder.string();
  }
  if (path_.empty()) {
    ADD_FAILURE() << "no temporary folder";
    return;
  }
  std::filesystem::current_path(path_);
}

WorkingFolder::~WorkingFolder() {
  std::filesystem::current_path(previous_);
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WorkingFolder::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream file(path_ + "/" + name, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(file.good()) << name;
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
