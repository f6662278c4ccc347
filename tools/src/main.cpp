// orvek: the library's two searches from the command line, for scripts, benchmarks and people
// without a display, and find, a free-text search over whole records. The classic rows come
// from the library: each search fills a list box that no dialog holds, as a dialog's would be
// filled, and prints its rows afterwards. Whole records and the machine-readable formats come
// from the command's own reader, since the library's record keeps only nine columns.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "command_line.h"
#include "console.h"
#include "installed_data.h"
#include "orvek/orvek.h"
#include "output_format.h"
#include "platform/clistbox.h"
#include "platform/encoding.h"
#include "platform/headless_backend.h"
#include "record_match.h"
#include "record_scan.h"

namespace {

constexpr int kExitRead = 0;
constexpr int kExitNoData = 1;  // also a data file that could not be read
constexpr int kExitUsage = 2;

// The encoding of the messages on stderr: the one --encoding names for the rows, once the
// command line is read; until then, and without it, the terminal's.
orvek_cli::OutputEncoding message_encoding = orvek_cli::OutputEncoding::Default;

// A message for stderr: ASCII, arguments and names as given. A name that CP932 cannot hold
// stays in the terminal's encoding.
void Say(const std::string& message) {
  const std::string text = "orvek: " + message + "\n";
  const std::optional<std::string> cp932 = message_encoding == orvek_cli::OutputEncoding::Default
                                               ? std::nullopt
                                               : orvek_cli::ArgumentToCp932(text);
  const std::string out = !cp932 ? orvek_cli::MessageForTerminal(text)
                          : message_encoding == orvek_cli::OutputEncoding::Utf8
                              ? platform::Cp932ToUtf8(*cp932)
                              : *cp932;
  std::fputs(out.c_str(), stderr);
}

// The library's message boxes (CP932), which nobody can press OK on, in the messages' encoding.
void SayMessageBoxes(const platform::HeadlessBackend& backend) {
  for (const platform::ShownMessageBox& box : backend.MessageBoxes()) {
    const std::string text = box.caption + ": " + box.text + "\n";
    switch (message_encoding) {
      case orvek_cli::OutputEncoding::Default:
        std::fputs(platform::Cp932ToLocale(text).c_str(), stderr);
        break;
      case orvek_cli::OutputEncoding::Utf8:
        std::fputs(platform::Cp932ToUtf8(text).c_str(), stderr);
        break;
      case orvek_cli::OutputEncoding::Cp932:
        std::fputs(text.c_str(), stderr);
        break;
    }
  }
}

// Why the last write to stdout failed, for a message.
std::string Reason() {
  return orvek_cli::WriteFailureReason();
}

// Appends row i of the list and its LF. The row is copied straight into the block.
void AppendRow(const CListBox& list, int i, std::string& block) {
  const int length = list.GetTextLen(i);
  if (length > 0) {
    const std::size_t at = block.size();
    // One byte more than the length: the copy ends with a NUL, which goes again.
    block.resize(at + static_cast<std::size_t>(length) + 1);
    const int copied = list.GetText(i, block.data() + at);
    block.resize(at + static_cast<std::size_t>(copied >= 0 && copied <= length ? copied : 0));
  }
  block += '\n';
}

std::string InOutputEncoding(const std::string& cp932, orvek_cli::OutputEncoding encoding) {
  switch (encoding) {
    case orvek_cli::OutputEncoding::Default:
      return orvek_cli::RowsInDefaultEncoding(cp932);
    case orvek_cli::OutputEncoding::Utf8:
      return platform::Cp932ToUtf8(cp932);
    case orvek_cli::OutputEncoding::Cp932:
      break;
  }
  return cp932;
}

// The rows go out in blocks of whole rows, each converted on its own: a search prints up to
// thousands of rows, and holding all of them (and their converted copy) would cost more in
// fresh memory than the conversion itself. No character spans two rows, so the bytes are the
// same as those of the whole text converted at once.
bool WriteRows(const CListBox& list, const orvek_cli::Request& request) {
  int count = list.GetCount();
  if (request.limit > 0 && request.limit < count) count = static_cast<int>(request.limit);
  if (request.count_only) return orvek_cli::WriteToStdout(std::to_string(count) + "\n");
  constexpr std::size_t kBlockBytes = 32 * 1024;
  std::string block;
  block.reserve(kBlockBytes + 512);
  for (int i = 0; i < count; ++i) {
    AppendRow(list, i, block);
    if (block.size() >= kBlockBytes || i + 1 == count) {
      if (!orvek_cli::WriteToStdout(InOutputEncoding(block, request.encoding))) return false;
      block.clear();
    }
  }
  return true;
}

using orvek::detail::DataFileCheck;

// The full name of a file in the current folder, for messages.
std::string FullPath(const std::string& name) {
#ifdef _WIN32
  return orvek_cli::CurrentFolder() + "\\" + name;
#else
  return orvek_cli::CurrentFolder() + "/" + name;
#endif
}

void SayNotData(const std::string& name, DataFileCheck check) {
  Say(FullPath(name) + " " + orvek::detail::DescribeDataFileCheck(check));
}

void SayNoDataFile() {
  Say("no ken_all.csv could be opened in " + orvek_cli::CurrentFolder() +
      " (--data-dir names its folder)");
}

// Opens the data file for the command's own reader and holds it to the rule; says why not.
bool OpenData(orvek_cli::DataFile& data) {
  data = orvek_cli::OpenCheckedDataFile();
  if (data.name.empty()) {
    SayNoDataFile();
    return false;
  }
  if (data.check != DataFileCheck::kJapanPost) {
    SayNotData(data.name, data.check);
    if (data.file != nullptr) std::fclose(data.file);
    data.file = nullptr;
    return false;
  }
  return true;
}

// Whether the name the library opens first is a named pipe: it is read once, by the library,
// which checks it as it streams (opening it here to look would take its lines).
bool DataFileIsPipe() {
  for (const char* name : {"ken_all.csv", "KEN_ALL.CSV"}) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    if (error || status.type() == std::filesystem::file_type::not_found) continue;
    if (status.type() == std::filesystem::file_type::directory) continue;
    return status.type() == std::filesystem::file_type::fifo;
  }
  return false;
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

  DataFile data;
  if (!OpenData(data)) return kExitNoData;
  std::FILE* const file = data.file;
  RecordWriter writer(request.format, request.encoding);
  std::int64_t count = 0;
  DataFileCheck why = DataFileCheck::kJapanPost;
  const auto visit = [&](Record& record) {
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
  };
  const ScanResult result = ScanRecords(file, screen, request.join, visit, Reading::kMapped, &why);
  std::fclose(file);
  if (result == ScanResult::kNotData) {
    SayNotData(data.name, why);
    return kExitNoData;
  }
  if (result != ScanResult::kRead) {
    // No rows: those found before the failure are not all there are.
    std::fputs(kReadFailureMessage, stderr);
    return kExitNoData;
  }
  const std::string count_line = std::to_string(count) + "\n";
  if (!WriteToStdout(request.count_only ? std::string_view(count_line) : writer.Finish())) {
    Say("cannot write the rows: " + Reason());
    return kExitNoData;
  }
  return kExitRead;
}

// The classic rows, from the library as the dialogs get them.
int SearchRows(const orvek_cli::Request& request) {
  // The library refuses a file that is not Japan Post's with its classic message, which does
  // not say why: the command holds the file to the same rule first and says it.
  // Without any file, the library's own message says so.
  if (!DataFileIsPipe()) {
    orvek_cli::DataFile data = orvek_cli::OpenCheckedDataFile();
    if (data.file != nullptr) std::fclose(data.file);
    if (!data.name.empty() && data.check != DataFileCheck::kJapanPost) {
      SayNotData(data.name, data.check);
      return kExitNoData;
    }
  }
  platform::HeadlessBackend backend;  // the library's message box goes to stderr
  backend.SetEchoToStderr(false);     // ... below, in the messages' encoding
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
  SayMessageBoxes(backend);
  if (result != 0) {
    // The library's message above tells an open error from a read error; the rows of a file
    // that could not be read to its end are not printed, so no script takes them for all.
    Say("ken_all.csv in " + orvek_cli::CurrentFolder() +
        " could not be opened or read to its end (--data-dir names its folder)");
    return kExitNoData;
  }
  if (!WriteRows(list, request)) {
    Say("cannot write the rows: " + Reason());
    return kExitNoData;
  }
  return kExitRead;
}

// Seconds since 1970 as UTC, ISO 8601.
std::string UtcTime(std::int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm parts{};
#ifdef _WIN32
  if (gmtime_s(&parts, &time) != 0) return "?";
#else
  if (gmtime_r(&time, &parts) == nullptr) return "?";
#endif
  char text[32];
  return std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts) > 0 ? text : "?";
}

// orvek info: which file a search would read, what it holds, and whether it passes the rule.
// The whole file is read, to count its lines and records.
int Info(const orvek_cli::Request& request) {
  using namespace orvek_cli;
  DataFile data = OpenCheckedDataFile();
  if (data.name.empty()) {
    SayNoDataFile();
    return kExitNoData;
  }
  std::int64_t lines = 0;
  std::int64_t records = 0;
  DataFileCheck check = data.check;
  bool read_whole = false;
  if (data.file != nullptr && check == DataFileCheck::kJapanPost) {
    const ScanResult result = ScanRecords(
        data.file, Screen{}, true,
        [&](Record& record) {
          lines += record.lines;
          ++records;
          return true;
        },
        Reading::kMapped, &check);
    read_whole = result == ScanResult::kRead;
    if (result == ScanResult::kReadError) check = DataFileCheck::kReadError;
  }
  if (data.file != nullptr) std::fclose(data.file);

  const std::string path = FullPath(data.name);
  const bool pipe = data.facts.pipe;
  std::string out;
  if (request.format == Format::Json) {
    nlohmann::ordered_json info;
    info["file"] = path;
    info["kind"] = pipe ? "named pipe" : data.facts.regular ? "regular file" : "other";
    if (data.facts.regular) {
      info["size"] = data.facts.size;
      info["modified"] = UtcTime(data.facts.modified);
    }
    if (read_whole) {
      info["lines"] = lines;
      info["records"] = records;
    }
    info["japan_post"] = read_whole;
    if (!read_whole) info["reason"] = orvek::detail::DescribeDataFileCheck(check);
    out = info.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  } else {
    out = "file:     " + path + "\n";
    if (pipe) out += "kind:     named pipe\n";
    if (data.facts.regular) {
      out += "size:     " + std::to_string(data.facts.size) + " bytes\n";
      out += "modified: " + UtcTime(data.facts.modified) + "\n";
    }
    if (read_whole) {
      out += "lines:    " + std::to_string(lines) + "\n";
      out += "records:  " + std::to_string(records) + " (split town areas joined)\n";
      out += "check:    a whole Japan Post postal-code file\n";
    } else {
      out += std::string("check:    ") + orvek::detail::DescribeDataFileCheck(check) + "\n";
    }
  }
  if (!WriteToStdout(out)) {
    Say("cannot write to standard output: " + Reason());
    return kExitNoData;
  }
  if (!read_whole) {
    SayNotData(data.name, check);
    return kExitNoData;
  }
  return kExitRead;
}

int Search(const orvek_cli::Request& request) {
  std::string why;
  if (!request.data_dir.empty() && !orvek_cli::ChangeFolder(request.data_dir, why)) {
    Say("cannot use the data folder '" + request.data_dir + "': " + why);
    return kExitNoData;
  }
  if (request.data_dir.empty() && !orvek_cli::UseInstalledDataFolder(why)) {
    Say(why);
    return kExitNoData;
  }
  if (request.command == orvek_cli::Command::Info) return Info(request);
  return request.OwnReader() ? SearchRecords(request) : SearchRows(request);
}

// Help and version: a script that cannot get them (stdout on a full disk) must hear of it.
int WriteInfo(const std::string& text) {
  if (!orvek_cli::WriteToStdout(text)) {
    Say("cannot write to standard output: " + Reason());
    return kExitNoData;
  }
  return kExitRead;
}

}  // namespace

int main(int argc, char** argv) {
  orvek_cli::UseTerminalLocale();
  orvek_cli::UseBinaryStreams();
  const std::vector<std::string> args = orvek_cli::ProgramArguments(argc, argv);
  orvek_cli::Request request;
  std::string error;
  if (!orvek_cli::ParseCommandLine(args, request, error)) {
    Say(error + "\nTry 'orvek --help' for more.");
    return kExitUsage;
  }
  message_encoding = request.encoding;
  for (const std::string& warning : request.warnings) Say("warning: " + warning);
  switch (request.command) {
    case orvek_cli::Command::Help:
      return WriteInfo(orvek_cli::MessageForTerminal(orvek_cli::UsageText()));
    case orvek_cli::Command::Version:
      return WriteInfo("orvek " ORVEK_VERSION "\n");
    case orvek_cli::Command::Find:
      if (!request.unencodable_word.empty()) {
        Say("'" + request.unencodable_word +
            "' has no Shift-JIS (CP932) form, so no record can hold it; nothing matches");
        return kExitNoData;
      }
      return Search(request);
    case orvek_cli::Command::Code:
    case orvek_cli::Command::Address:
    case orvek_cli::Command::Info:
      return Search(request);
  }
  return kExitUsage;
}
