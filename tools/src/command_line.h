// The orvek command's arguments: what a person typed, turned into the library's keys.
#pragma once

#include <string>
#include <vector>

namespace orvek_cli {

enum class Command { Help, Version, Code, Address };
// Default: UTF-8 on Linux, the console's code page on Windows.
enum class OutputEncoding { Default, Utf8, Cp932 };

struct Request {
  Command command = Command::Help;
  std::string data_dir;  // empty: the current directory
  OutputEncoding encoding = OutputEncoding::Default;
  bool count_only = false;
  // Keys in the form the library compares byte for byte: CP932, wrapped in double quotes;
  // an empty name key stands for a name that was not given.
  std::string code_key;
  std::string pref_key;
  std::string city_key;
  std::string town_key;
  int mode = 0;
};

// Fills request from the arguments after the program name. On a usage error returns false
// and says what is wrong in error (one line, no program name).
bool ParseCommandLine(const std::vector<std::string>& args, Request& request, std::string& error);

// The match mode the address dialog chooses for the names given; 0 when none is given.
int AddressMode(bool has_pref, bool has_city, bool has_town);

const char* UsageText();

}  // namespace orvek_cli
