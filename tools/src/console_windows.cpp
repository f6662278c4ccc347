#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "console.h"
#include "platform/encoding.h"

namespace orvek_cli {
namespace {

constexpr UINT kCp932 = 932;

std::wstring Widen(const std::string& text, UINT code_page) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), length);
  return wide;
}

// Characters the code page lacks become its default character; nothing is refused on output.
std::string Narrow(const std::wstring& wide, UINT code_page) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(code_page, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

// The console's output code page; a program whose output goes to a file or a pipe has none
// of its own, and then the system's OEM code page is what a console would show.
UINT TerminalCodePage() {
  const UINT console = GetConsoleOutputCP();
  return console != 0 ? console : GetOEMCP();
}

std::string FromUtf8(const std::string& utf8, UINT code_page) {
  if (code_page == CP_UTF8) return utf8;
  return Narrow(Widen(utf8, CP_UTF8), code_page);
}

}  // namespace

void UseTerminalLocale() {
  std::setlocale(LC_CTYPE, "");
}

std::vector<std::string> ProgramArguments(int, char**) {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(wide[i], CP_UTF8));
  LocalFree(wide);
  return arguments;
}

std::optional<std::string> ArgumentToCp932(const std::string& argument) {
  return platform::Utf8ToCp932(argument);
}

std::string RowsInDefaultEncoding(const std::string& cp932) {
  const UINT code_page = TerminalCodePage();
  if (code_page == kCp932) return cp932;
  if (code_page == CP_UTF8) return platform::Cp932ToUtf8(cp932);
  return Narrow(Widen(cp932, kCp932), code_page);
}

std::string MessageForTerminal(const std::string& text) {
  return FromUtf8(text, TerminalCodePage());
}

void UseBinaryStreams() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

namespace {
DWORD write_error = 0;
}  // namespace

bool WriteToStdout(std::string_view bytes) {
  // WriteFile, not the C runtime's text mode, which would turn every LF into CR LF.
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    if (!WriteFile(out, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      write_error = GetLastError();
      // The reader closed its end: as SIGPIPE on Linux, the command just ends.
      if (write_error == ERROR_NO_DATA || write_error == ERROR_BROKEN_PIPE ||
          write_error == ERROR_PIPE_NOT_CONNECTED) {
        std::exit(1);
      }
      return false;
    }
    done += written;
  }
  return true;
}

std::string WriteFailureReason() {
  const DWORD error = write_error != 0 ? write_error : ERROR_WRITE_FAULT;
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring reason = length > 0 ? std::wstring(text, length) : std::wstring();
  if (text != nullptr) LocalFree(text);
  while (!reason.empty() &&
         (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' ' ||
          reason.back() == L'.' || reason.back() == L'\u3002')) {
    reason.pop_back();
  }
  const std::string number = "error " + std::to_string(error);
  return reason.empty() ? number : Narrow(reason, CP_UTF8) + " (" + number + ")";
}

bool ChangeFolder(const std::string& folder, std::string& why) {
  if (SetCurrentDirectoryW(Widen(folder, CP_UTF8).c_str())) return true;
  const DWORD error = GetLastError();
  why = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
            ? "No such file or directory"
            : "error " + std::to_string(error);
  return false;
}

std::string CurrentFolder() {
  wchar_t folder[MAX_PATH * 4];
  const DWORD length = GetCurrentDirectoryW(MAX_PATH * 4, folder);
  if (length == 0 || length >= MAX_PATH * 4) return ".";
  return Narrow(std::wstring(folder, length), CP_UTF8);
}

}  // namespace orvek_cli
