// What the test programs share: running a program as a script would, temporary folders, whole
// files, CP932 text from UTF-8 literals, and where the real data file is.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// Programs run as processes (one implementation per system).
struct Outcome {
  int status = -1;  // the exit status; -1 when it did not end by itself
  std::string out;
  std::string err;
  int signal = 0;          // the signal that ended it (POSIX)
  bool timed_out = false;  // still running at the timeout, and killed
};

struct RunOptions {
  // "NAME=value": added to the test's environment (on Windows they stay in it for good, which
  // the tests that pass any rely on).
  std::vector<std::string> env;
  // The program gets env alone, not the test's environment (POSIX only).
  bool env_only = false;
  // Its standard output goes there instead (a device such as /dev/full; out stays empty).
  std::filesystem::path stdout_path;
  // Killed when it runs longer; zero waits as long as it runs.
  std::chrono::seconds timeout{0};
  // Its standard output is a pipe whose reader has gone (as when head has read enough).
  bool closed_pipe = false;
};

// Runs program with args (UTF-8) in cwd; its output goes to files there, so no pipe can fill
// while the test waits.
Outcome RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                   const std::filesystem::path& cwd, const RunOptions& options = {});

// A message (UTF-8) as a command writes it to its terminal: in the locale's encoding on Linux
// (UTF-8 here), in the console's code page on Windows.
std::string InTerminalEncoding(const std::string& utf8);

// CP932 rows as the orvek command prints them without --encoding: UTF-8 on Linux; on Windows
// in the console's code page, which is 932 itself on a Japanese system.
std::string DefaultOutput(const std::string& cp932);

// What a list box gives back for a double-byte character cut after its lead byte (0x93, as an
// over-long column is cut): the core's list box keeps the byte; the system's list box stores
// Unicode, so on Windows (and Wine) the byte comes back as "・" (0x81 0x45).
std::string CutLeadByteAsListed();

// The bytes of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);
// Writes the file anew with these bytes (a test failure when it cannot).
void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes);

// A fresh, empty temporary folder whose name starts with prefix; empty on failure.
std::filesystem::path MakeTemporaryFolder(const std::string& prefix);

// Removes a folder and all in it. Under Wine the console host of a program's last run may hold
// its output files for a moment after the run has ended: the folder goes once they are free.
// The reason when it could not be removed, else empty.
std::string RemoveFolder(const std::filesystem::path& folder);

// A temporary folder for as long as the object lives (a test failure when it cannot be made).
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& prefix);
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The CP932 bytes of UTF-8 text (a test failure, and empty, when CP932 cannot hold it).
std::string Cp932(const std::string& utf8);
// UTF-8 text of CP932 bytes.
std::string Utf8(std::string_view cp932);
#ifdef _WIN32
// UTF-16 as the system's W functions take it, and back.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
#endif

// The folder the build unpacks the real data file to (the build's MORVANE_DATA_DIR).
std::filesystem::path DataDir();
// KEN_ALL.CSV (or ken_all.csv) there; empty when absent, and the tests that need it skip.
std::filesystem::path RealDataFile();
// Makes DataDir the current folder when the file is there; false (nothing changed) otherwise.
bool EnterDataDir();
// Its lines (CP932, without the line ends), read by a plain scan of the file independent of
// the code under test: the figures of whichever edition is unpacked are counted from it.
const std::vector<std::string>& RealDataLines();
// How many of its lines hold the CP932 form of the UTF-8 text.
std::size_t CountRealDataLinesWith(const std::string& utf8);

}  // namespace test_support
