#include "output_format.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include "kana_width.h"
#include "platform/encoding.h"

namespace orvek_cli {
namespace {

// Every text is converted from CP932 and so valid UTF-8; should one not be, the dump must not
// throw half-way through the output.
constexpr auto kReplaceInvalid = nlohmann::ordered_json::error_handler_t::replace;

enum class Kind { Text, Reading, Flag, Number };

struct Field {
  const char* name;
  Column column;
  Kind kind;
};

// One order for every format: the names first, as people read an address, then the rest.
constexpr Field kFields[] = {
    {"code", kPostalCode, Kind::Text},
    {"prefecture", kPrefecture, Kind::Text},
    {"city", kCity, Kind::Text},
    {"town", kTown, Kind::Text},
    {"prefecture_kana", kPrefectureKana, Kind::Reading},
    {"city_kana", kCityKana, Kind::Reading},
    {"town_kana", kTownKana, Kind::Reading},
    {"local_government_code", kLocalGovernmentCode, Kind::Text},
    {"town_has_several_codes", kTownHasSeveralCodes, Kind::Flag},
    {"numbered_per_koaza", kNumberedPerKoaza, Kind::Flag},
    {"has_chome", kHasChome, Kind::Flag},
    {"code_has_several_towns", kCodeHasSeveralTowns, Kind::Flag},
    {"update_status", kUpdateStatus, Kind::Number},
    {"update_reason", kUpdateReason, Kind::Number},
};

// The field's text in CP932: readings in full-width katakana, as people write them.
std::string FieldText(const Record& record, const Field& field) {
  const std::string& text = record[field.column];
  return field.kind == Kind::Reading ? ToFullWidth(text) : text;
}

void AppendTsvField(std::string& out, const std::string& text) {
  for (char c : text) {
    switch (c) {
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        out += c;
    }
  }
}

void AppendCsvField(std::string& out, const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::string Separated(const std::vector<Record>& records, bool csv) {
  const char separator = csv ? ',' : '\t';
  const char* line_end = csv ? "\r\n" : "\n";
  std::string out;
  for (const Field& field : kFields) {
    if (field.name != kFields[0].name) out += separator;
    out += field.name;
  }
  out += line_end;
  for (const Record& record : records) {
    for (const Field& field : kFields) {
      if (&field != &kFields[0]) out += separator;
      const std::string text = FieldText(record, field);
      csv ? AppendCsvField(out, text) : AppendTsvField(out, text);
    }
    out += line_end;
  }
  return out;
}

nlohmann::ordered_json JsonRecord(const Record& record) {
  nlohmann::ordered_json object = nlohmann::ordered_json::object();
  for (const Field& field : kFields) {
    const std::string& text = record[field.column];
    switch (field.kind) {
      case Kind::Text:
      case Kind::Reading:
        object[field.name] = platform::Cp932ToUtf8(FieldText(record, field));
        break;
      case Kind::Flag:
        object[field.name] = text == "1";
        break;
      case Kind::Number: {
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size() && !text.empty()) {
          object[field.name] = value;
        } else {
          object[field.name] = nullptr;  // not a number in this file
        }
        break;
      }
    }
  }
  return object;
}

}  // namespace

std::string FormatRecords(const std::vector<Record>& records, Format format,
                          OutputEncoding encoding) {
  std::string out;
  switch (format) {
    case Format::Text:
      for (const Record& record : records) out += ClassicRow(record) + '\n';
      break;
    case Format::Tsv:
    case Format::Csv:
      out = Separated(records, format == Format::Csv);
      break;
    case Format::Json: {
      nlohmann::ordered_json array = nlohmann::ordered_json::array();
      for (const Record& record : records) array.push_back(JsonRecord(record));
      return array.dump(2, ' ', false, kReplaceInvalid) + '\n';
    }
    case Format::Jsonl:
      for (const Record& record : records)
        out += JsonRecord(record).dump(-1, ' ', false, kReplaceInvalid) + '\n';
      return out;
  }
  return encoding == OutputEncoding::Utf8 ? platform::Cp932ToUtf8(out) : out;
}

}  // namespace orvek_cli
