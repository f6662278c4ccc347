// Stand-ins for the curl.exe and tar.exe that Windows 10 ships and Wine does not, and for the
// orvek.exe that checks the new file, so that the data updater can be run under Wine on files
// of a few bytes; and for morvane.exe, to see where a shortcut starts it. Built four times:
// FAKE_CURL, FAKE_TAR, FAKE_ORVEK and FAKE_MORVANE.
//   curl.exe ... -o OUT URL       copies the file named by MORVANE_TEST_DOWNLOAD to OUT; with
//                                 none, fails as curl -f does on an HTTP error (22)
//   tar.exe -xf ARCHIVE -C DIR F  the "archive" is a text file: "FAKEZIP\n" then F's bytes
//                                 (written to DIR\F), or "FAKEZIP-CUT\n" then bytes of which
//                                 half are written before failing, as a damaged archive does
//   morvane.exe                   writes its current folder (UTF-8) to the file named by
//                                 MORVANE_TEST_OUT
//   orvek.exe info --data-dir DIR  fails (1, a reason on stderr) when DIR\KEN_ALL.CSV is
//                                 missing, empty or starts with '<' as an HTML page does;
//                                 else prints the file's lines and a fixed date as orvek does
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

[[maybe_unused]] std::string ReadAll(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

[[maybe_unused]] bool WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return out.good();
}

[[maybe_unused]] const char* Option(int argc, char** argv, const char* name) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(FAKE_MORVANE)
  static_cast<void>(argc);
  static_cast<void>(argv);
  const char* out = std::getenv("MORVANE_TEST_OUT");
  if (out == nullptr) return 2;
  const std::u8string folder = std::filesystem::current_path().u8string();
  return WriteAll(out, std::string(folder.begin(), folder.end())) ? 0 : 1;
#elif defined(FAKE_ORVEK)
  const char* folder = Option(argc, argv, "--data-dir");
  if (argc < 2 || std::strcmp(argv[1], "info") != 0 || folder == nullptr) return 2;
  const std::string file = std::string(folder) + "\\KEN_ALL.CSV";
  const std::string bytes = ReadAll(file.c_str());
  if (bytes.empty() || bytes[0] == '<') {
    std::fprintf(stderr, "orvek: %s is not Japan Post's file\n", file.c_str());
    return 1;
  }
  const auto lines = std::count(bytes.begin(), bytes.end(), '\n');
  std::printf("file:     %s\nlines:    %lld\nmodified: 2026-05-26T09:57:00Z\n", file.c_str(),
              static_cast<long long>(lines));
  return 0;
#elif defined(FAKE_CURL)
  const char* out = Option(argc, argv, "-o");
  const char* source = std::getenv("MORVANE_TEST_DOWNLOAD");
  if (out == nullptr || source == nullptr) {
    std::fputs("curl: (22) The requested URL returned error: 404\n", stderr);
    return 22;
  }
  return WriteAll(out, ReadAll(source)) ? 0 : 23;
#else
  const char* archive = Option(argc, argv, "-xf");
  const char* folder = Option(argc, argv, "-C");
  if (archive == nullptr || folder == nullptr || argc < 6) return 2;
  const std::string member = argv[argc - 1];
  const std::string bytes = ReadAll(archive);
  const std::string whole = "FAKEZIP\n", cut = "FAKEZIP-CUT\n";
  const std::string target = std::string(folder) + "\\" + member;
  if (bytes.rfind(whole, 0) == 0) return WriteAll(target, bytes.substr(whole.size())) ? 0 : 1;
  if (bytes.rfind(cut, 0) == 0) {
    const std::string rest = bytes.substr(cut.size());
    WriteAll(target, rest.substr(0, rest.size() / 2));
    std::fputs("tar: Truncated input file (needed 512 bytes, only 0 available)\n", stderr);
    return 1;
  }
  std::fprintf(stderr, "tar: %s: Not found in archive\n", member.c_str());
  return 1;
#endif
}
