// The morvane program started from a terminal, as a process: what it says without a display,
// and the two options that answer without one.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int status = -1;  // the exit status; -1 after a signal or a timeout
  std::string out;
  std::string err;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class MorvaneCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "morvane-command-XXXXXX").string();
    ASSERT_NE(nullptr, mkdtemp(pattern.data()));
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs morvane with only the given environment (no display unless it names one); a program
  // that is still running after 30 s is killed and fails the test.
  Outcome Run(const std::vector<std::string>& args, std::vector<std::string> env) {
    const fs::path out_path = dir_ / "stdout.txt";
    const fs::path err_path = dir_ / "stderr.txt";
    std::vector<char*> argv{const_cast<char*>(MORVANE_BINARY)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    env.push_back("HOME=" + dir_.string());
    env.push_back("PATH=/usr/bin:/bin");
    for (const char* kept : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
      if (const char* value = getenv(kept)) env.push_back(std::string(kept) + "=" + value);
    }
    std::vector<char*> envp;
    for (std::string& variable : env) envp.push_back(variable.data());
    envp.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
      const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (out < 0 || err < 0 || chdir(dir_.c_str()) != 0) _exit(126);
      dup2(out, STDOUT_FILENO);
      dup2(err, STDERR_FILENO);
      execve(MORVANE_BINARY, argv.data(), envp.data());
      _exit(127);
    }
    Outcome outcome;
    int wait_status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    pid_t done = 0;
    while (pid > 0 && (done = waitpid(pid, &wait_status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (pid > 0 && done == 0) {
      kill(pid, SIGKILL);
      waitpid(pid, &wait_status, 0);
      ADD_FAILURE() << "morvane still ran after 30 s";
    } else if (done == pid && WIFEXITED(wait_status)) {
      outcome.status = WEXITSTATUS(wait_status);
    } else if (done == pid && WIFSIGNALED(wait_status)) {
      ADD_FAILURE() << "morvane ended by signal " << WTERMSIG(wait_status);
    }
    outcome.out = ReadFile(out_path);
    outcome.err = ReadFile(err_path);
    return outcome;
  }

  fs::path dir_;
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
