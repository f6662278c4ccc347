#include <gtest/gtest.h>
#include <windows.h>

#include <random>

#include "platform/encoding.h"
#include "test_support.h"

namespace test_support {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

namespace {

// One argument quoted so that CommandLineToArgvW gives it back unchanged: backslashes double
// only before a quote, and the quote itself is escaped.
std::wstring Quote(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

// Opened sharing everything: under Wine a child's console host may still hold the last run's
// handle for a moment after the child has ended, and a file that it had open for writing
// without sharing could not be opened again (the run would fail before it started).
HANDLE OpenForChild(const std::filesystem::path& path) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(path.wstring().c_str(), GENERIC_WRITE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The console's output code page, else the OEM one: what a console would show.
UINT TerminalCodePage() {
  const UINT console = GetConsoleOutputCP();
  return console != 0 ? console : GetOEMCP();
}

}  // namespace

Outcome RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                   const std::filesystem::path& cwd, const RunOptions& options) {
  // The child inherits the test's environment; the variables given join it for good, which
  // the tests that pass any rely on.
  if (options.env_only) ADD_FAILURE() << "a program's own environment alone is POSIX only";
  for (const std::string& variable : options.env) {
    const std::size_t equals = variable.find('=');
    if (equals != std::string::npos) {
      SetEnvironmentVariableW(Wide(variable.substr(0, equals)).c_str(),
                              Wide(variable.substr(equals + 1)).c_str());
    }
  }
  const bool own_out = options.stdout_path.empty();
  const std::filesystem::path out_path = own_out ? cwd / "stdout.txt" : options.stdout_path;
  const std::filesystem::path err_path = cwd / "stderr.txt";
  const std::filesystem::path absolute = std::filesystem::absolute(program);
  std::wstring command_line = Quote(absolute.wstring());
  for (const std::string& arg : args) command_line += L" " + Quote(Wide(arg));

  Outcome outcome;
  HANDLE out = INVALID_HANDLE_VALUE;
  if (options.closed_pipe) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE reader = nullptr;
    if (CreatePipe(&reader, &out, &inherit, 0)) {
      CloseHandle(reader);
    } else {
      out = INVALID_HANDLE_VALUE;
    }
  } else {
    out = OpenForChild(out_path);
  }
  const HANDLE err = OpenForChild(err_path);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = INVALID_HANDLE_VALUE;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  if (out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
      CreateProcessW(absolute.wstring().c_str(), command_line.data(), nullptr, nullptr, TRUE, 0,
                     nullptr, cwd.wstring().c_str(), &startup, &process)) {
    const DWORD wait = options.timeout.count() == 0
                           ? INFINITE
                           : static_cast<DWORD>(options.timeout.count() * 1000);
    if (WaitForSingleObject(process.hProcess, wait) == WAIT_TIMEOUT) {
      TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, INFINITE);
      outcome.timed_out = true;
    }
    DWORD code = 0;
    if (!outcome.timed_out && GetExitCodeProcess(process.hProcess, &code)) {
      outcome.status = static_cast<int>(code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
  if (own_out && !options.closed_pipe) outcome.out = ReadWholeFile(out_path);
  outcome.err = ReadWholeFile(err_path);
  return outcome;
}

std::filesystem::path MakeTemporaryFolder(const std::string& prefix) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
    std::error_code error;
    if (std::filesystem::create_directory(folder, error)) return folder;
  }
  return {};
}

std::string DefaultOutput(const std::string& cp932) {
  // The test and the command share the console (or its absence) and the code pages.
  const UINT code_page = TerminalCodePage();
  if (code_page == 932) return cp932;
  return InTerminalEncoding(platform::Cp932ToUtf8(cp932));
}

std::string InTerminalEncoding(const std::string& utf8) {
  const UINT code_page = TerminalCodePage();
  if (code_page == CP_UTF8) return utf8;
  const std::wstring wide = Wide(utf8);
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(code_page, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

std::string CutLeadByteAsListed() {
  return "\x81\x45";
}

}  // namespace test_support
