// The version resources of orvek.dll and of a program built with morvane.rc: 1.0.0.1, with a
// Japanese string block.
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

Version VersionOf(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(module, path, MAX_PATH);
  Version version;
  const DWORD size = ::GetFileVersionInfoSizeW(path, nullptr);
  if (size == 0) return version;
  std::vector<char> data(size);
  if (!::GetFileVersionInfoW(path, 0, size, data.data())) return version;
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
  const Version orvek = VersionOf(library);
  EXPECT_EQ("1.0.0.1", orvek.number);
  EXPECT_EQ("1.0.0.1", orvek.file_version);
  EXPECT_EQ("郵便番号検索ライブラリ Orvek", orvek.description);

  const Version program = VersionOf(nullptr);  // this program carries morvane.rc
  EXPECT_EQ("1.0.0.1", program.number);
  EXPECT_EQ("郵便番号検索 Morvane", program.description);
}

}  // namespace
