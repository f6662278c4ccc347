// The orvek command's arguments: what a person typed, turned into the library's keys and the
// command's own search.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvek_cli {

enum class Command { Help, Version, Code, Address, Find, Info };
// Default: UTF-8 on Linux, the console's code page on Windows.
enum class OutputEncoding { Default, Utf8, Cp932 };
enum class Format { Text, Tsv, Csv, Json, Jsonl };

struct Request {
  Command command = Command::Help;
  std::string data_dir;  // empty: the current directory
  OutputEncoding encoding = OutputEncoding::Default;
  Format format = Format::Text;
  bool count_only = false;
  std::int64_t limit = 0;  // 0: all rows
  // Whole records: split town areas joined, and "以下に掲載がない場合" emptied. Both on for
  // find and the machine-readable formats unless turned off; off for the classic rows.
  bool join = false;
  bool clean = false;
  // Keys in the form the library compares byte for byte (search_keys.h): CP932, wrapped in
  // double quotes; an empty name key stands for a name that was not given.
  std::string code_key;
  std::string pref_key;
  std::string city_key;
  std::string town_key;
  int mode = 0;
  // find: the words in CP932. A word that CP932 cannot hold can match nothing; it is kept
  // in the locale's encoding to say so.
  std::vector<std::string> words;
  std::string unencodable_word;
  // One line each for stderr: things that are allowed but surely not what was meant.
  std::vector<std::string> warnings;

  // True when the rows come from the command's own reader instead of the library.
  bool OwnReader() const {
    return command == Command::Find || format != Format::Text || join || clean;
  }
};

// Fills request from the arguments after the program name. On a usage error returns false
// and says what is wrong in error (one line, no program name).
bool ParseCommandLine(const std::vector<std::string>& args, Request& request, std::string& error);

// The words of a find text in CP932: split on half- and full-width spaces.
std::vector<std::string> SplitWords(const std::string& cp932);

// What --help prints (usage_text.cpp).
const char* UsageText();

}  // namespace orvek_cli
