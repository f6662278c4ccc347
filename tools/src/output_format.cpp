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

void AppendSeparated(std::string& out, const Record& record, bool csv) {
  bool first = true;
  for (const Field& field : kFields) {
    if (!first) out += csv ? ',' : '\t';
    first = false;
    const std::string text = FieldText(record, field);
    csv ? AppendCsvField(out, text) : AppendTsvField(out, text);
  }
  out += csv ? "\r\n" : "\n";
}

void AppendHeader(std::string& out, bool csv) {
  bool first = true;
  for (const Field& field : kFields) {
    if (!first) out += csv ? ',' : '\t';
    first = false;
    out += field.name;
  }
  out += csv ? "\r\n" : "\n";
}

// Fills the fields of object, made once with every key in order, from the record.
void FillJson(nlohmann::ordered_json& object, const Record& record) {
  for (const Field& field : kFields) {
    const std::string& text = record[field.column];
    nlohmann::ordered_json& value = object[field.name];
    switch (field.kind) {
      case Kind::Text:
      case Kind::Reading:
        value = platform::Cp932ToUtf8(FieldText(record, field));
        break;
      case Kind::Flag:
        value = text == "1";
        break;
      case Kind::Number: {
        int number = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error == std::errc() && end == text.data() + text.size() && !text.empty()) {
          value = number;
        } else {
          value = nullptr;  // not a number in this file
        }
        break;
      }
    }
  }
}

}  // namespace

struct RecordWriter::Json {
  nlohmann::ordered_json object = nlohmann::ordered_json::object();
};

RecordWriter::RecordWriter(Format format, OutputEncoding encoding)
    : format_(format), encoding_(encoding) {
  if (format_ == Format::Tsv || format_ == Format::Csv) AppendHeader(out_, format_ == Format::Csv);
  if (format_ == Format::Json || format_ == Format::Jsonl) {
    json_ = std::make_unique<Json>();
    for (const Field& field : kFields) json_->object[field.name] = nullptr;
  }
}

RecordWriter::~RecordWriter() = default;

void RecordWriter::Add(const Record& record) {
  switch (format_) {
    case Format::Text:
      out_ += ClassicRow(record);
      out_ += '\n';
      break;
    case Format::Tsv:
    case Format::Csv:
      AppendSeparated(out_, record, format_ == Format::Csv);
      break;
    case Format::Json: {
      FillJson(json_->object, record);
      // The array's elements, indented one level: a JSON text has no raw line breaks inside
      // its strings, so every line break starts a line of the object.
      out_ += count_ == 0 ? "[\n  " : ",\n  ";
      const std::string object = json_->object.dump(2, ' ', false, kReplaceInvalid);
      for (char c : object) {
        out_ += c;
        if (c == '\n') out_ += "  ";
      }
      break;
    }
    case Format::Jsonl:
      FillJson(json_->object, record);
      out_ += json_->object.dump(-1, ' ', false, kReplaceInvalid);
      out_ += '\n';
      break;
  }
  ++count_;
}

std::string RecordWriter::Finish() {
  if (format_ == Format::Json) out_ += count_ == 0 ? "[]\n" : "\n]\n";
  if (encoding_ == OutputEncoding::Utf8 && format_ != Format::Json && format_ != Format::Jsonl) {
    return platform::Cp932ToUtf8(out_);
  }
  return std::move(out_);
}

}  // namespace orvek_cli
