// orvek: the library's two searches from the command line, for scripts, benchmarks and people
// without a display. Each search fills a list box that no dialog holds, as a dialog's would be
// filled, and prints its rows afterwards.
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "command_line.h"
#include "console.h"
#include "orvek/orvek.h"
#include "platform/encoding.h"
#include "platform/headless_backend.h"

namespace {

constexpr int kExitRead = 0;
constexpr int kExitNoData = 1;
constexpr int kExitUsage = 2;

// A message for stderr: ASCII, arguments and names as given, in the terminal's encoding.
void Say(const std::string& message) {
  std::fputs(orvek_cli::MessageForTerminal("orvek: " + message + "\n").c_str(), stderr);
}

std::string ListText(const CListBox& list, bool count_only) {
  const int count = list.GetCount();
  if (count_only) return std::to_string(count) + "\n";
  std::string text;
  CString row;
  for (int i = 0; i < count; ++i) {
    list.GetText(i, row);
    text += row.Bytes();
    text += '\n';
  }
  return text;
}

int Search(const orvek_cli::Request& request) {
  std::string why;
  if (!request.data_dir.empty() && !orvek_cli::ChangeFolder(request.data_dir, why)) {
    Say("cannot use the data folder '" + request.data_dir + "': " + why);
    return kExitNoData;
  }
  platform::HeadlessBackend backend;  // the library's message box goes to stderr
  CListBox list;
  if (!list.Create(LBS_NOTIFY, RECT{0, 0, 0, 0}, nullptr, 1)) {
    Say("cannot create the result list");
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
    Say("no ken_all.csv could be opened in " + orvek_cli::CurrentFolder() +
        " (--data-dir names its folder)");
    return kExitNoData;
  }

  std::string text = ListText(list, request.count_only);
  switch (request.encoding) {
    case orvek_cli::OutputEncoding::Default:
      text = orvek_cli::RowsInDefaultEncoding(text);
      break;
    case orvek_cli::OutputEncoding::Utf8:
      text = platform::Cp932ToUtf8(text);
      break;
    case orvek_cli::OutputEncoding::Cp932:
      break;
  }
  // The whole output in one write: a search prints up to thousands of rows, and the command is
  // timed as a whole process.
  if (!orvek_cli::WriteToStdout(text)) {
    Say("cannot write the rows");
    return kExitNoData;
  }
  return kExitRead;
}

}  // namespace

int main(int argc, char** argv) {
  // Only the character type: names arrive and messages leave in the locale's encoding.
  std::setlocale(LC_CTYPE, "");
  orvek_cli::UseBinaryStreams();
  const std::vector<std::string> args = orvek_cli::ProgramArguments(argc, argv);
  orvek_cli::Request request;
  std::string error;
  if (!orvek_cli::ParseCommandLine(args, request, error)) {
    Say(error + "\nTry 'orvek --help' for more.");
    return kExitUsage;
  }
  switch (request.command) {
    case orvek_cli::Command::Help:
      std::fputs(orvek_cli::MessageForTerminal(orvek_cli::UsageText()).c_str(), stdout);
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
