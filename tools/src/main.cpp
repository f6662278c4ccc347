// orvek: the library's two searches from the command line, for scripts, benchmarks and people
// without a display. Each search fills a list box that no dialog holds, as a dialog's would be
// filled, and prints its rows afterwards.
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "orvek/orvek.h"
#include "platform/encoding.h"
#include "platform/headless_backend.h"
#include "platform/listbox.h"

namespace {

constexpr int kExitRead = 0;
constexpr int kExitNoData = 1;  // also a data file that could not be read
constexpr int kExitUsage = 2;

bool WriteAll(std::string_view text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The rows go out in blocks of whole rows, each converted on its own: a search prints up to
// thousands of rows, and holding all of them (and their UTF-8 copy) would cost more in fresh
// memory than the conversion itself. No character spans two rows, so the bytes are the same
// as those of the whole text converted at once. The rows are read as a view reads them, from
// the list box itself: two messages a row would cost more than copying it.
bool WriteRows(const CListBox& list, bool count_only, bool utf8) {
  const int count = list.GetCount();
  if (count_only) return WriteAll(std::to_string(count) + "\n");
  const auto& rows = static_cast<const platform::ListBoxWindow&>(*list.GetSafeHwnd());
  constexpr std::size_t kBlockBytes = 32 * 1024;
  std::string block;
  block.reserve(kBlockBytes + 512);
  for (int i = 0; i < count; ++i) {
    block += rows.Row(i);
    block += '\n';
    if (block.size() >= kBlockBytes || i + 1 == count) {
      const bool written = utf8 ? WriteAll(platform::Cp932ToUtf8(block)) : WriteAll(block);
      if (!written) return false;
      block.clear();
    }
  }
  return true;
}

int Search(const orvek_cli::Request& request) {
  if (!request.data_dir.empty() && ::chdir(request.data_dir.c_str()) != 0) {
    std::fprintf(stderr, "orvek: cannot use the data folder '%s': %s\n", request.data_dir.c_str(),
                 std::strerror(errno));
    return kExitNoData;
  }
  platform::HeadlessBackend backend;  // the library's message box goes to stderr
  CListBox list;
  if (!list.Create(LBS_NOTIFY, RECT{0, 0, 0, 0}, nullptr, 1)) {
    std::fputs("orvek: cannot create the result list\n", stderr);
    return kExitNoData;
  }

  // The library takes writable keys; it only reads them.
  std::string code = request.code_key;
  std::string pref = request.pref_key;
  std::string city = request.city_key;
  std::string town = request.town_key;
  COrvek_Bango_Kensaku search;
  const int result =
      request.command == orvek_cli::Command::Code
          ? search.fnGetChimei(code.data(), &list)
          : search.fnGetOrvek(pref.data(), city.data(), town.data(), request.mode, &list);
  if (result != 0) {
    // The library's message above tells an open error from a read error; the rows of a file
    // that could not be read to its end are not printed, so no script takes them for all.
    char folder[4096];
    std::fprintf(stderr,
                 "orvek: ken_all.csv in %s could not be opened or read to its end (--data-dir "
                 "names its folder)\n",
                 ::getcwd(folder, sizeof folder) != nullptr ? folder : ".");
    return kExitNoData;
  }

  if (!WriteRows(list, request.count_only, request.encoding == orvek_cli::OutputEncoding::Utf8)) {
    std::fprintf(stderr, "orvek: cannot write the rows: %s\n", std::strerror(errno));
    return kExitNoData;
  }
  return kExitRead;
}

}  // namespace

int main(int argc, char** argv) {
  // Only the character type: names arrive and messages leave in the locale's encoding.
  std::setlocale(LC_CTYPE, "");
  const std::vector<std::string> args(argv + 1, argv + argc);
  orvek_cli::Request request;
  std::string error;
  if (!orvek_cli::ParseCommandLine(args, request, error)) {
    std::fprintf(stderr, "orvek: %s\nTry 'orvek --help' for more.\n", error.c_str());
    return kExitUsage;
  }
  switch (request.command) {
    case orvek_cli::Command::Help:
      std::fputs(orvek_cli::UsageText(), stdout);
      return kExitRead;
    case orvek_cli::Command::Version:
      std::puts("orvek " ORVEK_VERSION);
      return kExitRead;
    case orvek_cli::Command::Code:
    case orvek_cli::Command::Address:
      return Search(request);
  }
  return kExitUsage;
}
