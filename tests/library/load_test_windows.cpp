// Loading orvek.dll registers it with the framework as an extension module, and unloading takes
// it out again. This program does not link the library, so that it can load and unload it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "platform/extension.h"

namespace {

bool Registered(HMODULE module) {
  const auto modules = platform::LoadedExtensionModules();
  return std::find(modules.begin(), modules.end(), module) != modules.end();
}

TEST(LoadTest, LoadingRegistersTheLibraryAndUnloadingRemovesIt) {
  const std::size_t before = platform::LoadedExtensionModules().size();
  const std::filesystem::path path = std::filesystem::absolute(ORVEK_LIBRARY);
  const HMODULE library = LoadLibraryW(path.wstring().c_str());
  ASSERT_NE(nullptr, library) << path << ": error " << GetLastError();
  // The class is exported by its C++ names, the ones the program imports.
  EXPECT_NE(nullptr,
            reinterpret_cast<void*>(GetProcAddress(library, "_ZN20COrvek_Bango_KensakuC1Ev")));

  EXPECT_EQ(before + 1, platform::LoadedExtensionModules().size());
  EXPECT_TRUE(Registered(library));

  ASSERT_TRUE(FreeLibrary(library));
  EXPECT_FALSE(Registered(library));
  EXPECT_EQ(before, platform::LoadedExtensionModules().size());
}

}  // namespace
