#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "platform/encoding.h"
#include "test_support.h"

namespace test_support {

Outcome RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                   const std::filesystem::path& cwd, const RunOptions& options) {
  const bool own_out = options.stdout_path.empty();
  const std::filesystem::path out_path = own_out ? cwd / "stdout.txt" : options.stdout_path;
  const std::filesystem::path err_path = cwd / "stderr.txt";
  const std::string program_path = program.string();
  std::vector<char*> argv{const_cast<char*>(program_path.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> env = options.env;
  std::vector<char*> envp;
  for (std::string& variable : env) envp.push_back(variable.data());
  envp.push_back(nullptr);

  int pipe_ends[2] = {-1, -1};
  if (options.closed_pipe && pipe(pipe_ends) == 0) close(pipe_ends[0]);
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = options.closed_pipe ? pipe_ends[1]
                                        : open(out_path.c_str(),
                                               O_WRONLY | O_CREAT | (own_out ? O_TRUNC : 0), 0600);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || chdir(cwd.c_str()) != 0) _exit(126);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    if (options.env_only) {
      execve(program_path.c_str(), argv.data(), envp.data());
    } else {
      for (char* variable : envp) {
        if (variable != nullptr) putenv(variable);
      }
      execv(program_path.c_str(), argv.data());
    }
    _exit(127);
  }
  if (pipe_ends[1] >= 0) close(pipe_ends[1]);
  Outcome outcome;
  int wait_status = 0;
  pid_t done = 0;
  if (options.timeout.count() == 0) {
    done = pid > 0 ? waitpid(pid, &wait_status, 0) : -1;
  } else {
    const auto deadline = std::chrono::steady_clock::now() + options.timeout;
    while (pid > 0 && (done = waitpid(pid, &wait_status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (pid > 0 && done == 0) {
      kill(pid, SIGKILL);
      waitpid(pid, &wait_status, 0);
      outcome.timed_out = true;
    }
  }
  if (done == pid && WIFEXITED(wait_status)) outcome.status = WEXITSTATUS(wait_status);
  if (done == pid && WIFSIGNALED(wait_status)) outcome.signal = WTERMSIG(wait_status);
  if (own_out && !options.closed_pipe) outcome.out = ReadWholeFile(out_path);
  outcome.err = ReadWholeFile(err_path);
  return outcome;
}

std::filesystem::path MakeTemporaryFolder(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

std::string InTerminalEncoding(const std::string& utf8) {
  return utf8;
}

std::string DefaultOutput(const std::string& cp932) {
  return platform::Cp932ToUtf8(cp932);
}

std::string CutLeadByteAsListed() {
  return "\x93";
}

}  // namespace test_support
