#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/encoding.h"
#include "run_program.h"

namespace orvek_test {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

Outcome RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                   const std::filesystem::path& cwd, const std::vector<std::string>& env,
                   const std::filesystem::path& stdout_path) {
  const bool own_out = stdout_path.empty();
  const std::filesystem::path out_path = own_out ? cwd / "stdout.txt" : stdout_path;
  const std::filesystem::path err_path = cwd / "stderr.txt";
  const std::string program_path = program.string();
  std::vector<char*> argv{const_cast<char*>(program_path.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | (own_out ? O_TRUNC : 0), 0600);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || chdir(cwd.c_str()) != 0) _exit(126);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    for (const std::string& variable : env) putenv(const_cast<char*>(variable.c_str()));
    execv(program_path.c_str(), argv.data());
    _exit(127);
  }
  Outcome outcome;
  int wait_status = 0;
  if (pid > 0 && waitpid(pid, &wait_status, 0) == pid && WIFEXITED(wait_status)) {
    outcome.status = WEXITSTATUS(wait_status);
  }
  if (own_out) outcome.out = ReadFile(out_path);
  outcome.err = ReadFile(err_path);
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

}  // namespace orvek_test
