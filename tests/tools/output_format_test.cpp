// The machine formats read back: every record of Japan Post's file, written as TSV, CSV, JSON
// and JSON Lines in each output encoding, must parse back to the file's own fields.
#include <gtest/gtest.h>

#include "test_support.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "kana_width.h"
#include "output_format.h"
#include "platform/encoding.h"
#include "record_scan.h"
#include "whole_record.h"

namespace fs = std::filesystem;
using namespace orvek_cli;

namespace {

// The columns by the names the formats give them; readings are written in full-width.
struct Named {
  Column column;
  bool reading;
};
const std::map<std::string, Named> kColumns = {
    {"code", {kPostalCode, false}},
    {"prefecture", {kPrefecture, false}},
    {"city", {kCity, false}},
    {"town", {kTown, false}},
    {"prefecture_kana", {kPrefectureKana, true}},
    {"city_kana", {kCityKana, true}},
    {"town_kana", {kTownKana, true}},
    {"local_government_code", {kLocalGovernmentCode, false}},
    {"town_has_several_codes", {kTownHasSeveralCodes, false}},
    {"numbered_per_koaza", {kNumberedPerKoaza, false}},
    {"has_chome", {kHasChome, false}},
    {"code_has_several_towns", {kCodeHasSeveralTowns, false}},
    {"update_status", {kUpdateStatus, false}},
    {"update_reason", {kUpdateReason, false}},
};

// A record's field as a format must give it back, in the output's encoding.
std::string Expected(const Record& record, const Named& named, bool utf8) {
  const std::string cp932 =
      named.reading ? ToFullWidth(record[named.column]) : record[named.column];
  return utf8 ? platform::Cp932ToUtf8(cp932) : cp932;
}

using Row = std::vector<std::string>;
using RowVisitor = std::function<void(const Row&)>;

// TSV: fields split on tabs, \t \n \r \\ undone, walked by character in CP932 output.
void ParseTsv(const std::string& text, bool cp932, const RowVisitor& visit) {
  Row row(1);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = cp932 ? Cp932CharLength(text, i) : 1;
    const char c = text[i];
    if (length == 2) {
      row.back().append(text, i, 2);
    } else if (c == '\t') {
      row.emplace_back();
    } else if (c == '\n') {
      visit(row);
      row.assign(1, std::string());
    } else if (c == '\\' && i + 1 < text.size()) {
      const char escaped = text[++i];
      row.back() += escaped == 't' ? '\t' : escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped;
    } else {
      row.back() += c;
    }
    i += length;
  }
  EXPECT_EQ(Row(1), row) << "text after the last line end";
}

// CSV as RFC 4180 writes it: CR LF between rows, quoted fields with "" for a quote.
void ParseCsv(const std::string& text, const RowVisitor& visit) {
  Row row(1);
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        row.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        row.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.emplace_back();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      visit(row);
      row.assign(1, std::string());
      ++i;
    } else {
      row.back() += c;
    }
  }
  EXPECT_EQ(Row(1), row) << "text after the last line end";
}

// One JSON object's fields, compared with the record's as the parser meets them (no document
// is built: the test reads a hundred thousand objects). Counts the fields that differ; the
// first is reported, as thousands would bury it.
class RecordChecker : public nlohmann::json_sax<nlohmann::json> {
 public:
  RecordChecker(const Record& record, std::size_t index, std::size_t& wrong)
      : record_(record), index_(index), wrong_(wrong) {}

  bool key(string_t& name) override {
    name_ = name;
    const auto named = kColumns.find(name);
    named_ = named == kColumns.end() ? nullptr : &named->second;
    ++keys_;
    return Check(named_ != nullptr, "an unknown key");
  }
  bool boolean(bool value) override {
    return Check(named_ != nullptr && value == (record_[named_->column] == "1"),
                 value ? "true" : "false");
  }
  bool number_integer(number_integer_t value) override {
    return Check(named_ != nullptr && std::to_string(value) == record_[named_->column],
                 std::to_string(value));
  }
  bool number_unsigned(number_unsigned_t value) override {
    return Check(named_ != nullptr && std::to_string(value) == record_[named_->column],
                 std::to_string(value));
  }
  bool string(string_t& value) override {
    return Check(named_ != nullptr && value == Expected(record_, *named_, true), value);
  }
  bool start_object(std::size_t) override { return Check(++depth_ == 1, "an object inside"); }
  bool end_object() override { return true; }
  bool null() override { return Check(false, "null"); }
  bool number_float(number_float_t, const string_t& text) override { return Check(false, text); }
  bool binary(binary_t&) override { return Check(false, "binary"); }
  bool start_array(std::size_t) override { return Check(false, "an array"); }
  bool end_array() override { return Check(false, "an array"); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
    Check(false, e.what());
    return false;
  }

  // After the parse: every key there, once.
  void CheckAllKeys() { Check(keys_ == kColumns.size(), std::to_string(keys_) + " keys"); }

 private:
  bool Check(bool equal, const std::string& found) {
    if (!equal && wrong_++ == 0) {
      ADD_FAILURE() << "record " << index_ << " " << name_ << ": " << found;
    }
    return true;  // read on: the other fields are checked too
  }

  const Record& record_;
  std::size_t index_;
  std::size_t& wrong_;
  std::string name_;
  const Named* named_ = nullptr;
  std::size_t keys_ = 0;
  int depth_ = 0;
};

// JSON text without the spaces and line breaks between its tokens.
std::string WithoutLayout(const std::string& json) {
  std::string out;
  out.reserve(json.size());
  bool in_string = false;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (in_string) {
      out += c;
      if (c == '\\' && i + 1 < json.size()) {
        out += json[++i];
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
      out += c;
    } else if (c != ' ' && c != '\n') {
      out += c;
    }
  }
  return out;
}

// Japan Post's file, unpacked into the build folder, read once; skipped when it is absent.
class RealDataFormats : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const fs::path path = test_support::RealDataFile();
    if (path.empty()) return;
    std::FILE* in = std::fopen(path.string().c_str(), "rb");
    if (in == nullptr) return;
    ScanRecords(in, Screen{}, true, [&](Record& record) {
      CleanRecord(record);  // as the command writes them
      records_.push_back(record);
      return true;
    });
    std::fclose(in);
  }
  static void TearDownTestSuite() { records_ = {}; }
  void SetUp() override {
    if (records_.empty()) GTEST_SKIP() << "no KEN_ALL.CSV in " << test_support::DataDir();
  }

  static std::string Written(Format format, OutputEncoding encoding) {
    RecordWriter writer(format, encoding);
    for (const Record& record : records_) writer.Add(record);
    return std::string(writer.Finish());
  }

  static std::vector<Record> records_;
};
std::vector<Record> RealDataFormats::records_;

TEST_F(RealDataFormats, SeparatedValuesReadBackEqual) {
  const std::vector<Record>& records = records_;
  for (const Format format : {Format::Tsv, Format::Csv}) {
    for (const OutputEncoding encoding : {OutputEncoding::Utf8, OutputEncoding::Cp932}) {
      const bool utf8 = encoding == OutputEncoding::Utf8;
      const std::string label =
          std::string(format == Format::Tsv ? "tsv" : "csv") + (utf8 ? " utf-8" : " cp932");
      const std::string text = Written(format, encoding);
      std::vector<const Named*> columns;  // by the header's names
      std::size_t count = 0;
      std::size_t wrong = 0;
      const auto check = [&](const Row& row) {
        if (count++ == 0) {
          for (const std::string& name : row) {
            columns.push_back(kColumns.contains(name) ? &kColumns.at(name) : nullptr);
          }
          EXPECT_EQ(kColumns.size(), columns.size()) << label;
          return;
        }
        const Record* record = count - 2 < records.size() ? &records[count - 2] : nullptr;
        for (std::size_t f = 0; f < row.size(); ++f) {
          const bool equal = record != nullptr && row.size() == columns.size() &&
                             columns[f] != nullptr &&
                             row[f] == Expected(*record, *columns[f], utf8);
          if (!equal && wrong++ == 0) {
            ADD_FAILURE() << label << " record " << count - 2 << " field " << f << ": "
                          << (utf8 ? row[f] : platform::Cp932ToUtf8(row[f]));
          }
        }
      };
      if (format == Format::Tsv) {
        ParseTsv(text, !utf8, check);
      } else {
        ParseCsv(text, check);
      }
      EXPECT_EQ(records.size() + 1, count) << label;
      EXPECT_EQ(0u, wrong) << label << ": fields that read back otherwise";
    }
  }
}

TEST_F(RealDataFormats, JsonReadsBackEqual) {
  const std::vector<Record>& records = records_;
  const std::string lines = Written(Format::Jsonl, OutputEncoding::Cp932);  // always UTF-8
  std::size_t count = 0;
  std::size_t wrong = 0;
  std::string objects;  // the lines as the elements of one array
  for (std::size_t at = 0; at < lines.size(); ++count) {
    const std::size_t end = lines.find('\n', at);
    ASSERT_NE(std::string::npos, end);
    ASSERT_LT(count, records.size());
    const std::string_view line(lines.data() + at, end - at);
    RecordChecker checker(records[count], count, wrong);
    EXPECT_TRUE(nlohmann::json::sax_parse(line, &checker)) << "record " << count;
    checker.CheckAllKeys();
    objects += count == 0 ? '[' : ',';
    objects += line;
    at = end + 1;
  }
  EXPECT_EQ(records.size(), count);
  EXPECT_EQ(0u, wrong) << "fields that read back otherwise";
  // The array holds the same objects, laid out on lines of their own.
  EXPECT_TRUE(WithoutLayout(Written(Format::Json, OutputEncoding::Utf8)) == objects + "]");
}

}  // namespace
