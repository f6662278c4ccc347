// The morvane program started from a terminal, as a process: what it says without a display,
// and the two options that answer without one.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

using test_support::Outcome;

class MorvaneCommandTest : public ::testing::Test {
 protected:
  // Runs morvane with only the given environment (no display unless it names one); a program
  // that is still running after 30 s is killed and fails the test.
  Outcome Run(const std::vector<std::string>& args, std::vector<std::string> env,
              const fs::path& program = MORVANE_BINARY) {
    env.push_back("HOME=" + dir_.Path().string());
    env.push_back("PATH=/usr/bin:/bin");
    for (const char* kept : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
      if (const char* value = getenv(kept)) env.push_back(std::string(kept) + "=" + value);
    }
    const Outcome outcome = test_support::RunProgram(program, args, dir_.Path(),
                                                     {env, true, {}, std::chrono::seconds(30)});
    if (outcome.timed_out) ADD_FAILURE() << "morvane still ran after 30 s";
    if (outcome.signal != 0) ADD_FAILURE() << "morvane ended by signal " << outcome.signal;
    return outcome;
  }

  test_support::TemporaryFolder dir_{"morvane-command-"};
};

// One line on stderr that says what is missing, exit 1: not Qt's abort with its plugin advice.
void ExpectNoDisplayLine(const Outcome& outcome, const std::string& named) {
  EXPECT_EQ(1, outcome.status) << outcome.err;
  EXPECT_EQ("", outcome.out);
  ASSERT_FALSE(outcome.err.empty());
  EXPECT_EQ(outcome.err.size() - 1, outcome.err.find('\n')) << "not one line: " << outcome.err;
  EXPECT_EQ(0u, outcome.err.find("morvane: needs a graphical display")) << outcome.err;
  EXPECT_NE(std::string::npos, outcome.err.find(named)) << outcome.err;
}

TEST_F(MorvaneCommandTest, WithoutADisplayItSaysSoInOneLine) {
  ExpectNoDisplayLine(Run({}, {}), "DISPLAY is not set");
  // Arguments change nothing.
  ExpectNoDisplayLine(Run({"--geometry", "ken_all.csv"}, {}), "DISPLAY is not set");

  // A display that nobody serves.
  int unused = 4000;
  while (fs::exists("/tmp/.X11-unix/X" + std::to_string(unused))) ++unused;
  std::string display = ":";
  display += std::to_string(unused);
  ExpectNoDisplayLine(Run({}, {"DISPLAY=" + display}), display);
}

// A Wayland session that cannot be used: the line names the display tried and passes on why.
TEST_F(MorvaneCommandTest, AWaylandDisplayThatFailsIsNamedWithTheReason) {
  const fs::path runtime = dir_.Path() / "run";
  fs::create_directory(runtime);
  fs::permissions(runtime, fs::perms::owner_all);
  // A compositor's socket left behind: bound, nobody listening.
  const fs::path dead = runtime / "wayland-dead";
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_LE(0, fd);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(dead.string().size(), sizeof address.sun_path);
  dead.string().copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(0, bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address));
  close(fd);
  // The program as on a machine without Qt's platform plugins (qt.conf beside it names an
  // empty plugin folder).
  const fs::path bare = dir_.Path() / "bare";
  fs::create_directories(bare / "plugins");
  fs::copy_file(MORVANE_BINARY, bare / "morvane");
  test_support::WriteWholeFile(bare / "qt.conf",
                               "[Paths]\nPlugins=" + (bare / "plugins").string() + "\n");

  const std::string session = "XDG_RUNTIME_DIR=" + runtime.string();
  struct Case {
    fs::path program;
    std::vector<std::string> env;
    std::vector<std::string> named;
  };
  const Case cases[] = {
      {MORVANE_BINARY,
       {session, "WAYLAND_DISPLAY=wayland-dead"},
       {"WAYLAND_DISPLAY=wayland-dead cannot be opened: ", "Failed to create wl_display"}},
      {MORVANE_BINARY,
       {session, "WAYLAND_DISPLAY=wayland-dead", "QT_QPA_PLATFORM=wayland"},
       {"QT_QPA_PLATFORM=wayland and WAYLAND_DISPLAY=wayland-dead", "Connection refused"}},
      {bare / "morvane",
       {session, "WAYLAND_DISPLAY=wayland-1"},
       {"WAYLAND_DISPLAY=wayland-1 cannot be opened: ",
        "Could not find the Qt platform plugin \"wayland\""}},
  };
  for (const Case& c : cases) {
    const Outcome outcome = Run({}, c.env, c.program);
    for (const std::string& named : c.named) ExpectNoDisplayLine(outcome, named);
  }
}

TEST_F(MorvaneCommandTest, HelpAndVersionNeedNoDisplay) {
  const Outcome help = Run({"--help"}, {});
  EXPECT_EQ(0, help.status) << help.err;
  EXPECT_EQ(0u, help.out.find("Usage: morvane\n")) << help.out;
  EXPECT_NE(std::string::npos, help.out.find("--version"));
  EXPECT_EQ("", help.err);

  const Outcome version = Run({"x", "--version"}, {});
  EXPECT_EQ(0, version.status) << version.err;
  EXPECT_EQ("morvane 1.0.0.1\n", version.out);
  EXPECT_EQ("", version.err);
}

}  // namespace
