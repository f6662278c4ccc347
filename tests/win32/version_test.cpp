// The version resources of orvek.dll, morvane-platform.dll, orvek.exe and of a program built
// with morvane.rc: 1.0.0.1, with a Japanese string block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/wintypes.h"
#include "test_support.h"

namespace {

struct Version {
  std::string number;       // from the fixed part, "a.b.c.d"
  std::string description;  // FileDescription of the Japanese block, UTF-8
  std::string file_version;
};

std::wstring PathOf(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(module, path, MAX_PATH);
  return path;
}

Version VersionOf(const std::wstring& path) {
  Version version;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), nullptr);
  if (size == 0) return version;
  std::vector<char> data(size);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return version;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) {
    version.number = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                     std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                     std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                     std::to_string(LOWORD(fixed->dwFileVersionLS));
  }
  wchar_t* text = nullptr;
  if (::VerQueryValueW(data.data(), L"\\StringFileInfo\\041104b0\\FileDescription",
                       reinterpret_cast<void**>(&text), &length)) {
    version.description = test_support::Utf8(std::wstring(text));
  }
  if (::VerQueryValueW(data.data(), L"\\StringFileInfo\\041104b0\\FileVersion",
                       reinterpret_cast<void**>(&text), &length)) {
    version.file_version = test_support::Utf8(std::wstring(text));
  }
  return version;
}

TEST(VersionResource, LibraryAndProgramCarryVersion1001InJapanese) {
  HMODULE library = ::GetModuleHandleA("orvek.dll");
  ASSERT_NE(nullptr, library) << "the tests link the library";
  const Version orvek = VersionOf(PathOf(library));
  EXPECT_EQ("1.0.0.1", orvek.number);
  EXPECT_EQ("1.0.0.1", orvek.file_version);
  EXPECT_EQ("郵便番号検索ライブラリ Orvek", orvek.description);

  const Version program = VersionOf(PathOf(nullptr));  // this program carries morvane.rc
  EXPECT_EQ("1.0.0.1", program.number);
  EXPECT_EQ("郵便番号検索 Morvane", program.description);
}

TEST(VersionResource, TheCommandAndTheFrameworkCarryVersion1001InJapanese) {
  HMODULE framework = ::GetModuleHandleA("morvane-platform.dll");
  ASSERT_NE(nullptr, framework) << "the tests link the framework";
  const std::wstring framework_path = PathOf(framework);
  // orvek.exe is built beside the framework.
  const std::wstring command_path =
      framework_path.substr(0, framework_path.find_last_of(L"\\/") + 1) + L"orvek.exe";
  const struct {
    std::wstring path;
    const char* description;
  } files[] = {{framework_path, "Morvane ウィンドウ フレームワーク"},
               {command_path, "郵便番号検索コマンド orvek"}};
  for (const auto& file : files) {
    SCOPED_TRACE(test_support::Utf8(file.path));
    const Version version = VersionOf(file.path);
    EXPECT_EQ("1.0.0.1", version.number);
    EXPECT_EQ("1.0.0.1", version.file_version);
    EXPECT_EQ(file.description, version.description);
  }
}

}  // namespace
