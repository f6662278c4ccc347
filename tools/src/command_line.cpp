#include "command_line.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "console.h"

namespace orvek_cli {
namespace {

constexpr char kPostalCodeHint[] =
    "a postal code is seven digits, optionally with a hyphen after the third: 1000001 or "
    "100-0001";

bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

// "1000001" or "100-0001" as the seven digits; nothing for anything else.
std::optional<std::string> PostalCodeDigits(std::string_view text) {
  std::string digits;
  if (text.size() == 8 && text[3] == '-') {
    digits.append(text.substr(0, 3)).append(text.substr(4));
  } else if (text.size() == 7) {
    digits.assign(text);
  } else {
    return std::nullopt;
  }
  for (char c : digits) {
    if (!IsAsciiDigit(c)) return std::nullopt;
  }
  return digits;
}

std::optional<int> ParseInt(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  return value;
}

// A name as given on the command line as a quoted CP932 key; false when CP932 cannot hold it.
bool QuoteName(const std::string& option, const std::string& name, std::string& key,
               std::string& error) {
  key.clear();
  if (name.empty()) return true;  // left blank, as an empty dialog field
  const std::optional<std::string> cp932 = ArgumentToCp932(name);
  if (!cp932) {
    error = option + ": '" + name + "' cannot be written in CP932 (Shift-JIS)";
    return false;
  }
  key = '"' + *cp932 + '"';
  return true;
}

struct RawArguments {
  bool help = false;
  bool version = false;
  bool count = false;
  std::string command;
  std::vector<std::string> operands;
  std::optional<std::string> data_dir, encoding, pref, city, town, mode;
};

// Splits the arguments into options and operands; options may stand anywhere, as --name VALUE
// or --name=VALUE. A value is taken as it is, also when it starts with '-' (--mode -1).
bool Scan(const std::vector<std::string>& args, RawArguments& raw, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help") {
      raw.help = true;
      continue;
    }
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      if (raw.command.empty()) {
        raw.command = arg;
      } else {
        raw.operands.push_back(arg);
      }
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    std::optional<std::string> inline_value;
    if (equals != std::string::npos) inline_value = arg.substr(equals + 1);

    bool* flag = name == "--version" ? &raw.version : name == "--count" ? &raw.count : nullptr;
    if (flag != nullptr) {
      if (inline_value) {
        error = name + " takes no value";
        return false;
      }
      *flag = true;
      continue;
    }
    std::optional<std::string>* slot = name == "--data-dir"   ? &raw.data_dir
                                       : name == "--encoding" ? &raw.encoding
                                       : name == "--pref"     ? &raw.pref
                                       : name == "--city"     ? &raw.city
                                       : name == "--town"     ? &raw.town
                                       : name == "--mode"     ? &raw.mode
                                                              : nullptr;
    if (slot == nullptr) {
      error = "unknown option " + name;
      return false;
    }
    if (inline_value) {
      *slot = *inline_value;
    } else if (i + 1 < args.size()) {
      *slot = args[++i];
    } else {
      error = name + " needs a value";
      return false;
    }
  }
  return true;
}

}  // namespace

int AddressMode(bool has_pref, bool has_city, bool has_town) {
  const int given = int{has_pref} + int{has_city} + int{has_town};
  if (given == 3) return 1;
  if (given == 1) return 5;
  if (given == 0) return 0;
  if (!has_town) return 2;
  return has_city ? 4 : 3;
}

bool ParseCommandLine(const std::vector<std::string>& args, Request& request, std::string& error) {
  RawArguments raw;
  if (!Scan(args, raw, error)) return false;
  request = Request{};
  if (raw.help) return true;  // --help wins over everything else
  if (raw.version) {
    request.command = Command::Version;
    return true;
  }

  if (raw.encoding) {
    if (*raw.encoding == "utf-8" || *raw.encoding == "UTF-8" || *raw.encoding == "utf8") {
      request.encoding = OutputEncoding::Utf8;
    } else if (*raw.encoding == "cp932" || *raw.encoding == "CP932") {
      request.encoding = OutputEncoding::Cp932;
    } else {
      error = "--encoding must be utf-8 or cp932, not '" + *raw.encoding + "'";
      return false;
    }
  }
  if (raw.data_dir) request.data_dir = *raw.data_dir;
  request.count_only = raw.count;

  const bool address_options = raw.pref || raw.city || raw.town || raw.mode;
  if (raw.command == "code") {
    if (address_options) {
      error = "--pref, --city, --town and --mode belong to the address command";
      return false;
    }
    if (raw.operands.size() != 1) {
      error = std::string("code takes one postal code: ") + kPostalCodeHint;
      return false;
    }
    const std::optional<std::string> digits = PostalCodeDigits(raw.operands[0]);
    if (!digits) {
      error = "'" + raw.operands[0] + "' is not a postal code: " + kPostalCodeHint;
      return false;
    }
    request.command = Command::Code;
    request.code_key = '"' + *digits + '"';
    return true;
  }
  if (raw.command == "address") {
    if (!raw.operands.empty()) {
      error = "address takes no operands; give the names with --pref, --city and --town";
      return false;
    }
    if (!QuoteName("--pref", raw.pref.value_or(""), request.pref_key, error) ||
        !QuoteName("--city", raw.city.value_or(""), request.city_key, error) ||
        !QuoteName("--town", raw.town.value_or(""), request.town_key, error)) {
      return false;
    }
    request.mode = AddressMode(!request.pref_key.empty(), !request.city_key.empty(),
                               !request.town_key.empty());
    if (request.mode == 0) {
      error = "address needs at least one non-empty name: --pref, --city or --town";
      return false;
    }
    if (raw.mode) {
      const std::optional<int> mode = ParseInt(*raw.mode);
      if (!mode) {
        error = "--mode must be an integer, not '" + *raw.mode + "'";
        return false;
      }
      request.mode = *mode;
    }
    request.command = Command::Address;
    return true;
  }
  error = raw.command.empty() ? "no command given: use code or address"
                              : "unknown command '" + raw.command + "': use code or address";
  return false;
}

const char* UsageText() {
  return R"(Usage: orvek code POSTAL-CODE [OPTIONS]
       orvek address [--pref NAME] [--city NAME] [--town NAME] [--mode N] [OPTIONS]

Searches Japan Post's postal-code file ken_all.csv, read whole on every search, and
prints one row per matching record: postal code, prefecture, city and town area in
fixed columns, in the order of the file.

Commands:
  code POSTAL-CODE  every address with this code: seven digits, 1000001 or 100-0001
  address           every record whose names equal the given ones, byte for byte:
                    write each name as the file does (東京都, not 東京)

Address options:
  --pref NAME       prefecture, e.g. 東京都
  --city NAME       city, ward, town or village, e.g. 千代田区
  --town NAME       town area, e.g. 千代田
  --mode N          match mode instead of the one chosen from the names given:
                    1 all three equal, 2 prefecture and city, 3 prefecture and town area,
                    4 city and town area, 5 any one of the three; other numbers match nothing

Options:
  --data-dir DIR    folder that holds ken_all.csv (or KEN_ALL.CSV); default: the current one
  --encoding ENC    output encoding: utf-8 or cp932; default: utf-8 (on Windows,
                    the console's code page)
  --count           print only the number of rows
  --help            show this help
  --version         show the version

Examples:
  orvek code 100-0001
  orvek --data-dir ~/ken_all code 4520961
  orvek address --pref 東京都 --city 千代田区
  orvek address --city 府中市 --count

Exit status: 0 the data file was read (also when nothing matched), 1 the data file
could not be opened or read to its end, or the rows not written, 2 wrong usage.
)";
}

}  // namespace orvek_cli
