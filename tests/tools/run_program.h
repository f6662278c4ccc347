// Runs a program as a script would and collects what it said; one implementation per system.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orvek_test {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs program with args (UTF-8) in cwd, with env ("NAME=value") added to its environment;
// its output goes to files there, so no pipe can fill while the test waits. With stdout_path,
// its standard output goes there instead (a device such as /dev/full; out stays empty).
Outcome RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                   const std::filesystem::path& cwd, const std::vector<std::string>& env = {},
                   const std::filesystem::path& stdout_path = {});

// A fresh, empty temporary folder whose name starts with prefix.
std::filesystem::path MakeTemporaryFolder(const std::string& prefix);

// A message (UTF-8) as the command writes it to its terminal: in the locale's encoding on
// Linux (UTF-8 here), in the console's code page on Windows.
std::string InTerminalEncoding(const std::string& utf8);

// CP932 rows as the command prints them without --encoding: UTF-8 on Linux; on Windows in the
// console's code page, which is 932 itself on a Japanese system.
std::string DefaultOutput(const std::string& cp932);

// What a list box gives back for a double-byte character cut after its lead byte (0x93, as an
// over-long column is cut): the core's list box keeps the byte; the system's list box stores
// Unicode, so on Windows (and Wine) the byte comes back as "・" (0x81 0x45).
std::string CutLeadByteAsListed();

}  // namespace orvek_test
