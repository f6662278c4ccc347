#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

#include "platform/encoding.h"

namespace test_support {

namespace fs = std::filesystem;

std::string ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteWholeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(file.good()) << path;
}

std::string RemoveFolder(const fs::path& folder) {
  std::error_code error;
  for (int attempt = 0; attempt < 50; ++attempt) {
    fs::remove_all(folder, error);
    if (!error) return {};
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return "cannot remove " + folder.string() + ": " + error.message();
}

TemporaryFolder::TemporaryFolder(const std::string& prefix) : path_(MakeTemporaryFolder(prefix)) {
  if (path_.empty()) ADD_FAILURE() << "no temporary folder";
}

TemporaryFolder::~TemporaryFolder() {
  if (path_.empty()) return;
  if (const std::string why = RemoveFolder(path_); !why.empty()) ADD_FAILURE() << why;
}

std::string Cp932(const std::string& utf8) {
  const auto cp932 = platform::Utf8ToCp932(utf8);
  EXPECT_TRUE(cp932.has_value()) << utf8;
  return cp932.value_or("");
}

std::string Utf8(std::string_view cp932) {
  return platform::Cp932ToUtf8(cp932);
}

bool EnterDataDir() {
  if (RealDataFile().empty()) return false;
  fs::current_path(DataDir());
  return true;
}

fs::path DataDir() {
  return MORVANE_DATA_DIR;
}

fs::path RealDataFile() {
  for (const char* name : {"KEN_ALL.CSV", "ken_all.csv"}) {
    if (fs::exists(DataDir() / name)) return DataDir() / name;
  }
  return {};
}

const std::vector<std::string>& RealDataLines() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> all;
    std::istringstream text(ReadWholeFile(RealDataFile()));
    for (std::string line; std::getline(text, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      all.push_back(std::move(line));
    }
    return all;
  }();
  return lines;
}

std::size_t CountRealDataLinesWith(const std::string& utf8) {
  const std::string bytes = Cp932(utf8);
  std::size_t count = 0;
  for (const std::string& line : RealDataLines()) count += line.find(bytes) != std::string::npos;
  return count;
}

}  // namespace test_support
