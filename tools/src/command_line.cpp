#include "command_line.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "console.h"
#include "kana_width.h"
#include "platform/encoding.h"
#include "search_keys.h"

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

// An integer option's value; says what is wrong in error otherwise.
template <typename Int>
bool ParseInt(const std::string& option, std::string_view text, Int& value, std::string& error) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec == std::errc::result_out_of_range && ptr == end) {
    error = option + " is out of range: '" + std::string(text) + "'";
    return false;
  }
  if (ec != std::errc() || ptr != end || text.empty()) {
    error = option + " must be an integer, not '" + std::string(text) + "'";
    return false;
  }
  return true;
}

bool IsSpaceAt(std::string_view cp932, std::size_t at) {
  return cp932.compare(at, 1, " ") == 0 || cp932.compare(at, 2, "\x81\x40") == 0;
}

// A name as given on the command line as a quoted CP932 key; false when CP932 cannot hold it.
bool QuoteName(const std::string& option, const std::string& name, std::string& key,
               std::vector<std::string>& warnings, std::string& error) {
  key.clear();
  if (name.empty()) return true;  // left blank, as an empty dialog field
  const std::optional<std::string> cp932 = ArgumentToCp932(name);
  if (!cp932) {
    error = option + ": '" + name + "' cannot be written in CP932 (Shift-JIS)";
    return false;
  }
  // Walked from the start: only there is it certain where a CP932 character begins.
  std::size_t last = 0;
  for (std::size_t i = 0; i < cp932->size();
       i += platform::IsCp932LeadByte(static_cast<unsigned char>((*cp932)[i])) ? 2 : 1) {
    last = i;
  }
  if (IsSpaceAt(*cp932, 0) || IsSpaceAt(*cp932, last)) {
    warnings.push_back(option + " '" + name +
                       "' begins or ends with a space; the file's names have none, so it "
                       "matches nothing as written");
  }
  key = orvek::search_keys::Quoted(*cp932);
  return true;
}

struct RawArguments {
  bool help = false;
  bool version = false;
  bool count = false;
  std::optional<bool> join, clean;
  std::string command;
  std::vector<std::string> operands;
  std::optional<std::string> data_dir, encoding, pref, city, town, mode, format, limit;
};

// Splits the arguments into options and operands; options may stand anywhere, as --name VALUE
// or --name=VALUE, until "--", after which everything is an operand. A value is taken as it
// is, also when it starts with '-' (--mode -1). The first mistake is kept in error, but the
// scan goes on: a --help later on still wins.
bool Scan(const std::vector<std::string>& args, RawArguments& raw, std::string& error) {
  bool options_ended = false;
  auto operand = [&raw](const std::string& arg) {
    if (raw.command.empty()) {
      raw.command = arg;
    } else {
      raw.operands.push_back(arg);
    }
  };
  auto fail = [&error](std::string message) {
    if (error.empty()) error = std::move(message);
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      operand(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      raw.help = true;
      continue;
    }
    if (arg[1] != '-') {
      fail("unknown option " + arg);
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    std::optional<std::string> inline_value;
    if (equals != std::string::npos) inline_value = arg.substr(equals + 1);

    struct Switch {
      const char* name;
      bool value;
      std::optional<bool>* slot;
    };
    const Switch switches[] = {{"--join", true, &raw.join},
                               {"--no-join", false, &raw.join},
                               {"--clean", true, &raw.clean},
                               {"--no-clean", false, &raw.clean}};
    bool* flag = name == "--version" ? &raw.version : name == "--count" ? &raw.count : nullptr;
    const Switch* toggle = nullptr;
    for (const Switch& s : switches) {
      if (name == s.name) toggle = &s;
    }
    if (flag != nullptr || toggle != nullptr) {
      if (inline_value) {
        fail(name + " takes no value");
      } else if (flag != nullptr) {
        *flag = true;
      } else {
        *toggle->slot = toggle->value;
      }
      continue;
    }
    std::optional<std::string>* slot = name == "--data-dir"   ? &raw.data_dir
                                       : name == "--encoding" ? &raw.encoding
                                       : name == "--pref"     ? &raw.pref
                                       : name == "--city"     ? &raw.city
                                       : name == "--town"     ? &raw.town
                                       : name == "--mode"     ? &raw.mode
                                       : name == "--format"   ? &raw.format
                                       : name == "--limit"    ? &raw.limit
                                                              : nullptr;
    if (slot == nullptr) {
      fail("unknown option " + name);
    } else if (inline_value) {
      *slot = *inline_value;
    } else if (i + 1 < args.size()) {
      *slot = args[++i];
    } else {
      fail(name + " needs a value");
    }
  }
  return error.empty();
}

bool ParseFormat(const std::string& text, Format& format, std::string& error) {
  static constexpr std::pair<const char*, Format> kFormats[] = {{"text", Format::Text},
                                                                {"tsv", Format::Tsv},
                                                                {"csv", Format::Csv},
                                                                {"json", Format::Json},
                                                                {"jsonl", Format::Jsonl}};
  for (const auto& [name, value] : kFormats) {
    if (text == name) {
      format = value;
      return true;
    }
  }
  error = "--format must be text, tsv, csv, json or jsonl, not '" + text + "'";
  return false;
}

// The options that every command takes: data folder, encoding, format, limit, count.
bool ParseCommonOptions(const RawArguments& raw, Request& request, std::string& error) {
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
  if (raw.format && !ParseFormat(*raw.format, request.format, error)) return false;
  if (request.encoding == OutputEncoding::Cp932 &&
      (request.format == Format::Json || request.format == Format::Jsonl)) {
    error = "--encoding cp932 is for text, tsv and csv; JSON is always UTF-8";
    return false;
  }
  if (raw.data_dir) {
    if (raw.data_dir->empty()) {
      error = "--data-dir needs a folder name, not an empty one";
      return false;
    }
    request.data_dir = *raw.data_dir;
  }
  if (raw.limit) {
    if (!ParseInt("--limit", *raw.limit, request.limit, error)) return false;
    if (request.limit < 1) {
      error = "--limit must be 1 or more, not '" + *raw.limit + "'";
      return false;
    }
  }
  request.count_only = raw.count;
  // Whole records wherever a script reads the output; the classic rows stay the library's.
  const bool whole_records = raw.command == "find" || request.format != Format::Text;
  request.join = raw.join.value_or(whole_records);
  request.clean = raw.clean.value_or(whole_records);
  return true;
}

}  // namespace

std::vector<std::string> SplitWords(const std::string& cp932) {
  std::vector<std::string> words;
  std::string word;
  for (std::size_t i = 0; i < cp932.size();) {
    if (IsSpaceAt(cp932, i)) {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
      i += cp932[i] == ' ' ? 1 : 2;
      continue;
    }
    const std::size_t length =
        platform::IsCp932LeadByte(static_cast<unsigned char>(cp932[i])) ? 2 : 1;
    word.append(cp932, i, length);
    i += length;
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

bool ParseCommandLine(const std::vector<std::string>& args, Request& request, std::string& error) {
  RawArguments raw;
  request = Request{};
  const bool scanned = Scan(args, raw, error);
  if (raw.help) {  // --help wins over everything else, mistakes included
    error.clear();
    return true;
  }
  if (!scanned) return false;
  if (raw.version) {
    request.command = Command::Version;
    return true;
  }
  if (!ParseCommonOptions(raw, request, error)) return false;

  const bool address_options = raw.pref || raw.city || raw.town || raw.mode;
  if (address_options && raw.command != "address") {
    error = "--pref, --city, --town and --mode belong to the address command";
    return false;
  }
  if (raw.command == "code") {
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
    request.code_key = orvek::search_keys::CodeKey(*digits);
    return true;
  }
  if (raw.command == "address") {
    if (!raw.operands.empty()) {
      error = "address takes no operands; give the names with --pref, --city and --town";
      return false;
    }
    if (!QuoteName("--pref", raw.pref.value_or(""), request.pref_key, request.warnings, error) ||
        !QuoteName("--city", raw.city.value_or(""), request.city_key, request.warnings, error) ||
        !QuoteName("--town", raw.town.value_or(""), request.town_key, request.warnings, error)) {
      return false;
    }
    request.mode = orvek::search_keys::MatchMode(
        !request.pref_key.empty(), !request.city_key.empty(), !request.town_key.empty());
    if (request.mode == 0) {
      error = "address needs at least one non-empty name: --pref, --city or --town";
      return false;
    }
    if (raw.mode && !ParseInt("--mode", *raw.mode, request.mode, error)) return false;
    request.command = Command::Address;
    return true;
  }
  if (raw.command == "find") {
    for (const std::string& operand : raw.operands) {
      std::optional<std::string> cp932 = ArgumentToCp932(operand);
      if (!cp932) cp932 = ArgumentToCp932(WithCp932Kana(operand));  // ゔ is the file's ヴ
      if (!cp932) {
        // Nothing in the file can contain it; said by the caller, after the usage checks.
        if (request.unencodable_word.empty()) request.unencodable_word = operand;
        continue;
      }
      for (std::string& word : SplitWords(*cp932)) request.words.push_back(std::move(word));
    }
    if (request.words.empty() && request.unencodable_word.empty()) {
      error = "find needs a text to search for, e.g. orvek find 千代田 丸の内";
      return false;
    }
    request.command = Command::Find;
    return true;
  }
  if (raw.command == "info") {
    if (!raw.operands.empty()) {
      error = "info takes no operands; --data-dir names the folder to look at";
      return false;
    }
    if (request.format != Format::Text && request.format != Format::Json) {
      error = "info prints text or json, not '" + raw.format.value_or("") + "'";
      return false;
    }
    if (raw.count || raw.limit || raw.join || raw.clean) {
      error = "info takes only --data-dir and --format";
      return false;
    }
    request.command = Command::Info;
    return true;
  }
  error = raw.command.empty()
              ? "no command given: use code, address, find or info"
              : "unknown command '" + raw.command + "': use code, address, find or info";
  return false;
}

}  // namespace orvek_cli
