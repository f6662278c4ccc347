// Loading liborvek registers it with the framework as an extension module, and unloading takes
// it out again. This program does not link the library, so that it can load and unload it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/extension.h"

namespace {

bool Registered(HMODULE module) {
  const auto modules = platform::LoadedExtensionModules();
  return std::find(modules.begin(), modules.end(), module) != modules.end();
}

TEST(LoadTest, LoadingRegistersTheLibraryAndUnloadingRemovesIt) {
  const std::size_t before = platform::LoadedExtensionModules().size();
  void* library = ::dlopen(ORVEK_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(nullptr, library) << ::dlerror();
  void* constructor = ::dlsym(library, "_ZN20COrvek_Bango_KensakuC1Ev");
  ASSERT_NE(nullptr, constructor);
  Dl_info info{};
  ASSERT_NE(0, ::dladdr(constructor, &info));

  EXPECT_EQ(before + 1, platform::LoadedExtensionModules().size());
  EXPECT_TRUE(Registered(info.dli_fbase));

  ASSERT_EQ(0, ::dlclose(library));
  EXPECT_FALSE(Registered(info.dli_fbase));
  EXPECT_EQ(before, platform::LoadedExtensionModules().size());
}

}  // namespace
