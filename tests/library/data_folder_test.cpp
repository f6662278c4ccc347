// Where morvane and orvek look for the data file when their current folder has none.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "data_folder.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

using orvek_data::ChooseDataFolder;
using orvek_data::HasDataFile;
using orvek_data::InstalledDataFolders;

orvek_data::Environment FakeEnvironment(std::map<std::string, std::string> variables) {
  return [variables](const char* name) -> std::optional<fs::path> {
    const auto found = variables.find(name);
    if (found == variables.end() || found->second.empty()) return std::nullopt;
    return fs::path(found->second);
  };
}

#ifndef _WIN32
TEST(DataFolder, InstalledFoldersFollowTheXdgBaseDirectories) {
  struct Case {
    std::map<std::string, std::string> environment;
    std::vector<fs::path> folders;
  };
  const Case cases[] = {
      {{{"HOME", "/home/u"}},
       {"/home/u/.local/share/morvane", "/usr/local/share/morvane", "/usr/share/morvane"}},
      {{{"HOME", "/home/u"}, {"XDG_DATA_HOME", "/d"}, {"XDG_DATA_DIRS", "/a::/b/"}},
       {"/d/morvane", "/a/morvane", "/b/morvane"}},
      // Empty means unset; relative folders are passed over.
      {{{"HOME", "/home/u"}, {"XDG_DATA_HOME", ""}, {"XDG_DATA_DIRS", "rel:/a"}},
       {"/home/u/.local/share/morvane", "/a/morvane"}},
      {{{"HOME", "/home/u"}, {"XDG_DATA_HOME", "rel"}, {"XDG_DATA_DIRS", "/a"}},
       {"/home/u/.local/share/morvane", "/a/morvane"}},
      // The updater's own folder, as the launcher and the updater take it.
      {{{"HOME", "/home/u"}, {"MORVANE_DATA_DIR", "/m"}, {"XDG_DATA_HOME", "/d"}},
       {"/m", "/usr/local/share/morvane", "/usr/share/morvane"}},
      {{}, {"/usr/local/share/morvane", "/usr/share/morvane"}},
  };
  for (const Case& c : cases) {
    std::string name;
    for (const auto& [variable, value] : c.environment) name += variable + "=" + value + " ";
    EXPECT_EQ(c.folders, InstalledDataFolders(FakeEnvironment(c.environment), "/opt/bin")) << name;
  }
}
#else
TEST(DataFolder, InstalledFoldersAreLocalAppDataThenTheProgramsOwn) {
  EXPECT_EQ(
      (std::vector<fs::path>{fs::path(L"C:\\Users\\u\\AppData\\Local\\Morvane"),
                             fs::path(L"C:\\Program Files\\Morvane")}),
      InstalledDataFolders(FakeEnvironment({{"LOCALAPPDATA", "C:\\Users\\u\\AppData\\Local"}}),
                           L"C:\\Program Files\\Morvane"));
  EXPECT_EQ(
      (std::vector<fs::path>{fs::path(L"D:\\m"), fs::path(L"C:\\p")}),
      InstalledDataFolders(
          FakeEnvironment({{"LOCALAPPDATA", "C:\\l"}, {"MORVANE_DATA_DIR", "D:\\m"}}), L"C:\\p"));
}
#endif

class DataFolderChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    start_ = fs::current_path();
    root_ = test_support::MakeTemporaryFolder("orvek-data-folder-");
    ASSERT_FALSE(root_.empty());
    for (const char* folder : {"current", "empty", "upper", "lower", "pipe", "directory"}) {
      fs::create_directories(root_ / folder);
    }
    std::ofstream(root_ / "upper" / "KEN_ALL.CSV") << "x";
    std::ofstream(root_ / "lower" / "ken_all.csv") << "x";
    fs::create_directory(root_ / "directory" / "ken_all.csv");
#ifndef _WIN32
    ASSERT_EQ(0, mkfifo((root_ / "pipe" / "ken_all.csv").c_str(), 0600));
    fs::create_directories(root_ / "device");
    fs::create_symlink("/dev/null", root_ / "device" / "ken_all.csv");
#endif
    fs::current_path(root_ / "current");
  }
  void TearDown() override {
    fs::current_path(start_);
    fs::remove_all(root_);
  }
  fs::path start_, root_;
};

TEST_F(DataFolderChoiceTest, TheCurrentFolderFirstThenTheFirstInstalledOneWithTheFile) {
  EXPECT_TRUE(HasDataFile(root_ / "upper"));
  EXPECT_TRUE(HasDataFile(root_ / "lower"));
  EXPECT_FALSE(HasDataFile(root_ / "empty"));
  EXPECT_FALSE(HasDataFile(root_ / "directory"));
  EXPECT_FALSE(HasDataFile(root_ / "nowhere"));
#ifndef _WIN32
  EXPECT_TRUE(HasDataFile(root_ / "pipe"));    // the screenshots feed the program through one
  EXPECT_TRUE(HasDataFile(root_ / "device"));  // refused by the search, with the reason
#endif

  // None: the current folder stays, and every folder looked in is named.
  const std::vector<fs::path> none{root_ / "nowhere", root_ / "empty", root_ / "directory"};
  orvek_data::DataFolderChoice choice = ChooseDataFolder(none);
  EXPECT_FALSE(choice.folder);
  EXPECT_EQ((std::vector<fs::path>{root_ / "current", root_ / "nowhere", root_ / "empty",
                                   root_ / "directory"}),
            choice.tried);
  EXPECT_EQ(root_ / "current", fs::current_path());

  // The first with the file becomes the current folder.
  choice = ChooseDataFolder({root_ / "empty", root_ / "lower", root_ / "upper"});
  EXPECT_EQ(root_ / "lower", choice.folder.value_or(""));
  EXPECT_EQ(fs::canonical(root_ / "lower"), fs::current_path());

  // A current folder with the file is kept, whatever the installed ones hold.
  fs::current_path(root_ / "upper");
  choice = ChooseDataFolder({root_ / "lower"});
  EXPECT_EQ(fs::canonical(root_ / "upper"), fs::current_path());
  EXPECT_EQ(1u, choice.tried.size());

  // Unless it is one of them (the program's own folder): then their order holds, and the
  // person's copy before it wins.
  choice = ChooseDataFolder({root_ / "lower", root_ / "upper"});
  EXPECT_EQ(fs::canonical(root_ / "lower"), fs::current_path());
  fs::current_path(root_ / "upper");
  choice = ChooseDataFolder({root_ / "empty", root_ / "upper"});
  EXPECT_EQ(fs::canonical(root_ / "upper"), fs::current_path());
  EXPECT_EQ(3u, choice.tried.size());
}

}  // namespace
