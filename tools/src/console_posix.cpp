#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "console.h"
#include "platform/encoding.h"

namespace orvek_cli {

bool LocaleIsUtf8OrAscii(const char* lc_all, const char* lc_ctype, const char* lang) {
  std::string_view name = "C";
  for (const char* value : {lc_all, lc_ctype, lang}) {
    if (value != nullptr && *value != '\0') {
      name = value;
      break;
    }
  }
  if (name == "C" || name == "POSIX") return true;
  // language_TERRITORY.codeset@modifier: the codeset, as UTF-8 or utf8 in any case.
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return false;
  std::string_view codeset = name.substr(dot + 1);
  codeset = codeset.substr(0, codeset.find('@'));
  std::string folded;
  for (char c : codeset) {
    if (c != '-') folded += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return folded == "utf8";
}

void UseTerminalLocale() {
  if (!LocaleIsUtf8OrAscii(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"))) {
    std::setlocale(LC_CTYPE, "");
  }
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

std::optional<std::string> ArgumentToCp932(const std::string& argument) {
  return platform::LocaleToCp932(argument);
}

std::string RowsInDefaultEncoding(const std::string& cp932) {
  return platform::Cp932ToUtf8(cp932);
}

std::string MessageForTerminal(const std::string& text) {
  return text;
}

void UseBinaryStreams() {}

namespace {
int write_error = 0;
}  // namespace

bool WriteToStdout(std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      write_error = errno;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string WriteFailureReason() {
  return std::strerror(write_error);
}

bool ChangeFolder(const std::string& folder, std::string& why) {
  if (::chdir(folder.c_str()) == 0) return true;
  why = std::strerror(errno);
  return false;
}

std::string CurrentFolder() {
  char folder[4096];
  return ::getcwd(folder, sizeof folder) != nullptr ? folder : ".";
}

}  // namespace orvek_cli
