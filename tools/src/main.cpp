// orvek: the library's two searches from the command line, for scripts, benchmarks and people
// without a display, and find, a free-text search over whole records. The classic rows come
// from the library: each search fills a list box that no dialog holds, as a dialog's would be
// filled, and prints its rows afterwards. Whole records and the machine-readable formats come
// from the command's own reader, since the library's record keeps only nine columns.
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "command_line.h"
#include "orvek/orvek.h"
#include "output_format.h"
#include "platform/encoding.h"
#include "platform/headless_backend.h"
#include "record_match.h"
#include "record_scan.h"

namespace {

constexpr int kExitRead = 0;
constexpr int kExitNoData = 1;
constexpr int kExitUsage = 2;

// The whole output in one write: a search prints up to thousands of rows, and the command is
// timed as a whole process.
bool WriteAll(const std::string& text) {
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

std::string ListText(const CListBox& list, bool count_only, std::int64_t limit) {
  int count = list.GetCount();
  if (limit > 0 && limit < count) count = static_cast<int>(limit);
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

int WriteRows(const std::string& text) {
  if (!WriteAll(text)) {
    std::fprintf(stderr, "orvek: cannot write the rows: %s\n", std::strerror(errno));
    return kExitNoData;
  }
  return kExitRead;
}

void ReportNoDataFile() {
  char folder[4096];
  std::fprintf(stderr,
               "orvek: no ken_all.csv could be opened in %s (--data-dir names its folder)\n",
               ::getcwd(folder, sizeof folder) != nullptr ? folder : ".");
}

std::string Unquoted(const std::string& key) {
  return key.size() >= 2 ? key.substr(1, key.size() - 2) : key;
}

// Whole records from the command's own reader: find, the machine-readable formats, and the
// classic rows of joined or cleaned records.
int SearchRecords(const orvek_cli::Request& request) {
  using namespace orvek_cli;
  std::vector<FindWord> words;
  AddressKeys keys;
  const std::string code = Unquoted(request.code_key);
  Screen screen;
  switch (request.command) {
    case Command::Find:
      words = FindWords(request.words);
      screen = FindScreen(words);
      break;
    case Command::Code:
      screen.needles.push_back(request.code_key);
      break;
    default:
      keys = {Unquoted(request.pref_key), Unquoted(request.city_key), Unquoted(request.town_key),
              request.mode};
      screen = AddressScreen(keys);
      break;
  }

  std::FILE* file = OpenDataFile();
  if (file == nullptr) {
    ReportNoDataFile();
    return kExitNoData;
  }
  RecordWriter writer(request.format, request.encoding);
  std::int64_t count = 0;
  const ScanResult result = ScanRecords(file, screen, request.join, [&](Record& record) {
    // find looks at the records as it shows them; code and address keep the file's names.
    if (request.command == Command::Find) {
      if (request.clean) CleanRecord(record);
      if (!FindMatches(words, record)) return true;
    } else {
      const bool match = request.command == Command::Code ? record[kPostalCode] == code
                                                          : AddressMatches(keys, record);
      if (!match) return true;
      if (request.clean) CleanRecord(record);
    }
    ++count;
    if (!request.count_only) writer.Add(record);
    return request.limit == 0 || count < request.limit;
  });
  std::fclose(file);
  if (result != ScanResult::kRead) {
    std::fputs(orvek_cli::kReadFailureMessage, stderr);
    return kExitNoData;
  }
  if (request.count_only) return WriteRows(std::to_string(count) + "\n");
  return WriteRows(writer.Finish());
}

// The classic rows, from the library as the dialogs get them.
int SearchRows(const orvek_cli::Request& request) {
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
    ReportNoDataFile();
    return kExitNoData;
  }

  std::string text = ListText(list, request.count_only, request.limit);
  if (request.encoding == orvek_cli::OutputEncoding::Utf8) text = platform::Cp932ToUtf8(text);
  return WriteRows(text);
}

int Search(const orvek_cli::Request& request) {
  if (!request.data_dir.empty() && ::chdir(request.data_dir.c_str()) != 0) {
    std::fprintf(stderr, "orvek: cannot use the data folder '%s': %s\n", request.data_dir.c_str(),
                 std::strerror(errno));
    return kExitNoData;
  }
  return request.OwnReader() ? SearchRecords(request) : SearchRows(request);
}

// Help and version: a script that cannot get them (stdout on a full disk) must hear of it.
int WriteInfo(const std::string& text) {
  if (!WriteAll(text)) {
    std::fprintf(stderr, "orvek: cannot write to standard output: %s\n", std::strerror(errno));
    return kExitNoData;
  }
  return kExitRead;
}

}  // namespace

int main(int argc, char** argv) {
  // Only the character type: names arrive and messages leave in the locale's encoding.
  if (!orvek_cli::LocaleIsUtf8OrAscii(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"),
                                      std::getenv("LANG"))) {
    std::setlocale(LC_CTYPE, "");
  }
  const std::vector<std::string> args(argv + 1, argv + argc);
  orvek_cli::Request request;
  std::string error;
  if (!orvek_cli::ParseCommandLine(args, request, error)) {
    std::fprintf(stderr, "orvek: %s\nTry 'orvek --help' for more.\n", error.c_str());
    return kExitUsage;
  }
  for (const std::string& warning : request.warnings) {
    std::fprintf(stderr, "orvek: warning: %s\n", warning.c_str());
  }
  switch (request.command) {
    case orvek_cli::Command::Help:
      return WriteInfo(orvek_cli::UsageText());
    case orvek_cli::Command::Version:
      return WriteInfo("orvek " ORVEK_VERSION "\n");
    case orvek_cli::Command::Find:
      if (!request.unencodable_word.empty()) {
        std::fprintf(stderr,
                     "orvek: '%s' has no Shift-JIS (CP932) form, so no record can hold it; "
                     "nothing matches\n",
                     request.unencodable_word.c_str());
        return kExitNoData;
      }
      return Search(request);
    case orvek_cli::Command::Code:
    case orvek_cli::Command::Address:
      return Search(request);
  }
  return kExitUsage;
}
