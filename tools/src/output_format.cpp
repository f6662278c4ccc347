#include "output_format.h"

#include <array>
#include <charconv>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string_view>

#include "console.h"
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

// The field's text in CP932: readings in full-width katakana, as people write them. Only a
// reading is made anew (in scratch); other fields are the record's own text.
const std::string& FieldText(const Record& record, const Field& field, std::string& scratch) {
  const std::string& text = record[field.column];
  if (field.kind != Kind::Reading) return text;
  scratch = ToFullWidth(text);
  return scratch;
}

// Escapes by character, not by byte: the second byte of a double-byte character may be 0x5C
// (十, 能, 表, ソ, 予, ...), which is no backslash and must be written as it is.
void AppendTsvField(std::string& out, const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Cp932CharLength(text, i);
    if (length == 2) {
      out.append(text, i, 2);
      i += 2;
      continue;
    }
    const char c = text[i++];
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

// Byte by byte: a quote, a comma, CR and LF are never the second byte of a CP932 character.
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
  std::string scratch;
  for (const Field& field : kFields) {
    if (!first) out += csv ? ',' : '\t';
    first = false;
    const std::string& text = FieldText(record, field, scratch);
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

constexpr std::size_t kFieldCount = std::size(kFields);

// The values of the object's fields, in kFields' order: the object is made once with every
// key, and each record only sets the values, reusing their storage.
using JsonSlots = std::array<nlohmann::ordered_json*, kFieldCount>;

void SetText(nlohmann::ordered_json& value, std::string_view cp932) {
  if (value.is_string()) {
    value.get_ref<std::string&>() = platform::Cp932ToUtf8(cp932);
  } else {
    value = platform::Cp932ToUtf8(cp932);
  }
}

void FillJson(const JsonSlots& slots, const Record& record) {
  std::string scratch;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const Field& field = kFields[i];
    const std::string& text = record[field.column];
    nlohmann::ordered_json& value = *slots[i];
    switch (field.kind) {
      case Kind::Text:
      case Kind::Reading:
        SetText(value, FieldText(record, field, scratch));
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

// text with indent added after each line break.
void AppendIndented(std::string& out, std::string_view text, std::string_view indent) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t newline = text.find('\n', at);
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    out.append(text, at, end - at);
    if (newline != std::string_view::npos) out += indent;
    at = end;
  }
}

}  // namespace

struct RecordWriter::Json {
  nlohmann::ordered_json object = nlohmann::ordered_json::object();
  JsonSlots slots{};
};

RecordWriter::RecordWriter(Format format, OutputEncoding encoding)
    : format_(format), encoding_(encoding) {
  if (format_ == Format::Tsv || format_ == Format::Csv) AppendHeader(out_, format_ == Format::Csv);
  if (format_ == Format::Json || format_ == Format::Jsonl) {
    json_ = std::make_unique<Json>();
    for (const Field& field : kFields) json_->object[field.name] = nullptr;
    // Taken once every key is in: adding none later, the object's values never move.
    for (std::size_t i = 0; i < kFieldCount; ++i) json_->slots[i] = &json_->object[kFields[i].name];
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
      FillJson(json_->slots, record);
      // The array's elements, indented one level: a JSON text has no raw line breaks inside
      // its strings, so every line break starts a line of the object.
      out_ += count_ == 0 ? "[\n  " : ",\n  ";
      AppendIndented(out_, json_->object.dump(2, ' ', false, kReplaceInvalid), "  ");
      break;
    }
    case Format::Jsonl:
      FillJson(json_->slots, record);
      out_ += json_->object.dump(-1, ' ', false, kReplaceInvalid);
      out_ += '\n';
      break;
  }
  ++count_;
}

std::string RecordWriter::Finish() {
  if (format_ == Format::Json) out_ += count_ == 0 ? "[]\n" : "\n]\n";
  if (format_ == Format::Json || format_ == Format::Jsonl) return std::move(out_);  // UTF-8
  switch (encoding_) {
    case OutputEncoding::Default:
      return RowsInDefaultEncoding(out_);
    case OutputEncoding::Utf8:
      return platform::Cp932ToUtf8(out_);
    case OutputEncoding::Cp932:
      break;
  }
  return std::move(out_);
}

}  // namespace orvek_cli
