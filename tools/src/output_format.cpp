#include "output_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <string_view>

#ifdef __linux__
#include <sys/mman.h>
#endif

#include <rapidjson/prettywriter.h>
#include <rapidjson/writer.h>

#include "console.h"
#include "kana_width.h"
#include "platform/encoding.h"

namespace orvek_cli {
namespace {

enum class Kind { Text, Reading, Flag, Number };

struct Field {
  std::string_view name;
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

// JSON goes through RapidJSON's writers, which write each value as it comes, straight into
// the output: a search's output is thousands of small objects, and no document of them (nor
// of one of them) is built. The output's room is reserved at the start and grows by doubling;
// reserved room costs no memory until it is written.
class JsonBuffer {
 public:
  using Ch = char;
  JsonBuffer() { Grow(kFirstRoom); }
  ~JsonBuffer() { std::free(begin_); }
  JsonBuffer(const JsonBuffer&) = delete;
  JsonBuffer& operator=(const JsonBuffer&) = delete;

  void Reserve(std::size_t count) {
    if (static_cast<std::size_t>(end_ - at_) < count) Grow(count);
  }
  void PutUnchecked(char c) { *at_++ = c; }
  void Put(char c) {
    Reserve(1);
    PutUnchecked(c);
  }
  void Flush() {}
  std::string_view Text() const { return {begin_, static_cast<std::size_t>(at_ - begin_)}; }

 private:
  // Enough for a few thousand records.
  static constexpr std::size_t kFirstRoom = std::size_t{16} << 20;

  void Grow(std::size_t count) {
    const auto used = static_cast<std::size_t>(at_ - begin_);
    const std::size_t size =
        std::max({2 * static_cast<std::size_t>(end_ - begin_), used + count, kFirstRoom});
    char* const room = Allocate(size);
    if (room == nullptr) throw std::bad_alloc();
    if (used > 0) std::memcpy(room, begin_, used);
    std::free(begin_);
    begin_ = room;
    at_ = room + used;
    end_ = room + size;
  }

  // The JSON of a big search is megabytes of fresh memory, written once, and each 4 KB page
  // taken is a page fault: they were a third of the time of 北海道's. Where the system has
  // them, the room asks for huge pages, a fault per 2 MB; it starts on a 2 MB boundary, so
  // that its first bytes are on one too. Only a hint: without them nothing changes.
  static char* Allocate(std::size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t kHuge = std::size_t{2} << 20;
    const std::size_t rounded = (size + kHuge - 1) & ~(kHuge - 1);
    auto* room = static_cast<char*>(std::aligned_alloc(kHuge, rounded));
    if (room != nullptr) ::madvise(room, rounded, MADV_HUGEPAGE);
    return room;
#else
    return static_cast<char*>(std::malloc(size));
#endif
  }

  char* begin_ = nullptr;
  char* at_ = nullptr;
  char* end_ = nullptr;
};

// What the writers call before a value and for each byte of it: room once, then no checks.
void PutReserve(JsonBuffer& buffer, std::size_t count) {
  buffer.Reserve(count);
}
void PutUnsafe(JsonBuffer& buffer, char c) {
  buffer.PutUnchecked(c);
}

using JsonWriter = rapidjson::Writer<JsonBuffer>;
using PrettyJsonWriter = rapidjson::PrettyWriter<JsonBuffer>;

// The object of one record, keys in kFields' order. Texts are valid UTF-8, converted from
// CP932 (a byte that is no CP932 character becomes U+FFFD).
template <class Writer>
void WriteJsonObject(Writer& json, const Record& record, std::string& scratch) {
  json.StartObject();
  for (const Field& field : kFields) {
    const std::string& text = record[field.column];
    json.Key(field.name.data(), static_cast<rapidjson::SizeType>(field.name.size()));
    switch (field.kind) {
      case Kind::Text:
      case Kind::Reading: {
        scratch = platform::Cp932ToUtf8(field.kind == Kind::Reading ? ToFullWidth(text) : text);
        json.String(scratch.data(), static_cast<rapidjson::SizeType>(scratch.size()));
        break;
      }
      case Kind::Flag:
        json.Bool(text == "1");
        break;
      case Kind::Number: {
        int number = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error == std::errc() && end == text.data() + text.size() && !text.empty()) {
          json.Int(number);
        } else {
          json.Null();  // not a number in this file
        }
        break;
      }
    }
  }
  json.EndObject();
}

}  // namespace

struct RecordWriter::Json {
  JsonBuffer buffer;
  // An array of objects, indented by two spaces; or one object a line.
  PrettyJsonWriter pretty{buffer};
  JsonWriter line{buffer};
  std::string scratch;
};

RecordWriter::RecordWriter(Format format, OutputEncoding encoding)
    : format_(format), encoding_(encoding) {
  if (format_ == Format::Tsv || format_ == Format::Csv) AppendHeader(out_, format_ == Format::Csv);
  if (format_ == Format::Json || format_ == Format::Jsonl) {
    json_ = std::make_unique<Json>();
    json_->pretty.SetIndent(' ', 2);
    if (format_ == Format::Json) json_->pretty.StartArray();
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
    case Format::Json:
      WriteJsonObject(json_->pretty, record, json_->scratch);
      break;
    case Format::Jsonl:
      WriteJsonObject(json_->line, record, json_->scratch);
      json_->buffer.Put('\n');
      json_->line.Reset(json_->buffer);  // the next line is a JSON text of its own
      break;
  }
  ++count_;
}

std::string_view RecordWriter::Finish() {
  if (format_ == Format::Json || format_ == Format::Jsonl) {  // UTF-8
    if (format_ == Format::Json) {
      json_->pretty.EndArray();
      json_->buffer.Put('\n');
    }
    return json_->buffer.Text();
  }
  switch (encoding_) {
    case OutputEncoding::Default:
      out_ = RowsInDefaultEncoding(out_);
      break;
    case OutputEncoding::Utf8:
      out_ = platform::Cp932ToUtf8(out_);
      break;
    case OutputEncoding::Cp932:
      break;
  }
  return out_;
}

}  // namespace orvek_cli
