// Where the orvek command meets its terminal: the arguments as given, text for stdout and
// stderr, and the data folder. console_posix.cpp and console_windows.cpp implement it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvek_cli {

// Loads the locale's character type where the command's input and output depend on it: on
// Linux only for a locale that is neither UTF-8 nor ASCII, since loading one costs a tenth
// of the command's start-up.
void UseTerminalLocale();

#ifndef _WIN32
// True when the locale that the environment names (LC_ALL, else LC_CTYPE, else LANG; each
// null or empty when unset) has UTF-8 or ASCII for its characters: the command then takes
// and gives UTF-8 whether or not the locale is loaded, and need not spend a tenth of its
// start-up loading it.
bool LocaleIsUtf8OrAscii(const char* lc_all, const char* lc_ctype, const char* lang);
#endif

// The arguments after the program name, in the encoding that ArgumentToCp932 reads: the
// locale's on Linux; UTF-8 on Windows, taken from the wide command line so that a character
// the ANSI code page lacks is refused instead of arriving as '?'.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// A name given as an argument, as CP932; nothing when CP932 cannot hold it.
std::optional<std::string> ArgumentToCp932(const std::string& argument);

// CP932 rows in the output's default encoding: UTF-8 on Linux, the console's code page on
// Windows (where that is 932, the file's own bytes).
std::string RowsInDefaultEncoding(const std::string& cp932);

// A message (ASCII, the usage text, and arguments as ProgramArguments gives them) in the
// encoding of the terminal.
std::string MessageForTerminal(const std::string& text);

// Lines end in LF on stdout and stderr, as on Linux: no CR LF translation on Windows.
void UseBinaryStreams();

// Writes all of bytes to stdout, unchanged (no line-end translation). A reader that went away
// (a pipe closed early, as by head) ends the command there, without a word and with status
// 1: on Linux SIGPIPE does it, on Windows this function.
bool WriteToStdout(std::string_view bytes);

// Why the last WriteToStdout failed, in the system's own words (strerror on Linux,
// FormatMessage on Windows), in the encoding of the messages.
std::string WriteFailureReason();

// Makes folder the current one; on failure says why.
bool ChangeFolder(const std::string& folder, std::string& why);
std::string CurrentFolder();

}  // namespace orvek_cli
