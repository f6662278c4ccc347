// The machine formats read back: every record of Japan Post's file, written as TSV, CSV, JSON
// and JSON Lines in each output encoding, must parse back to the file's own fields.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "command_line.h"
#include "kana_width.h"
#include "output_format.h"
#include "platform/encoding.h"
#include "record.h"
#include "record_scan.h"

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
std::string Expected(const Record& record, const std::string& name, bool utf8) {
  const Named& named = kColumns.at(name);
  const std::string cp932 =
      named.reading ? ToFullWidth(record[named.column]) : record[named.column];
  return utf8 ? platform::Cp932ToUtf8(cp932) : cp932;
}

// TSV: fields split on tabs, \t \n \r \\ undone, walked by character in CP932 output.
std::vector<std::vector<std::string>> ParseTsv(const std::string& text, bool cp932) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row(1);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = cp932 ? Cp932CharLength(text, i) : 1;
    const char c = text[i];
    if (length == 2) {
      row.back().append(text, i, 2);
    } else if (c == '\t') {
      row.emplace_back();
    } else if (c == '\n') {
      rows.push_back(std::move(row));
      row.assign(1, std::string());
    } else if (c == '\\' && i + 1 < text.size()) {
      const char escaped = text[++i];
      row.back() += escaped == 't' ? '\t' : escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped;
    } else {
      row.back() += c;
    }
    i += length;
  }
  EXPECT_EQ(std::vector<std::string>(1), row) << "text after the last line end";
  return rows;
}

// CSV as RFC 4180 writes it: CR LF between rows, quoted fields with "" for a quote.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row(1);
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
      rows.push_back(std::move(row));
      row.assign(1, std::string());
      ++i;
    } else {
      row.back() += c;
    }
  }
  EXPECT_EQ(std::vector<std::string>(1), row) << "text after the last line end";
  return rows;
}

void ExpectJsonRecord(const nlohmann::json& object, const Record& record, std::size_t index) {
  ASSERT_EQ(kColumns.size(), object.size()) << index;
  for (const auto& [name, value] : object.items()) {
    const std::string& text = record[kColumns.at(name).column];
    if (value.is_boolean()) {
      EXPECT_EQ(text == "1", value.get<bool>()) << index << " " << name;
    } else if (value.is_number()) {
      EXPECT_EQ(text, std::to_string(value.get<int>())) << index << " " << name;
    } else {
      ASSERT_TRUE(value.is_string()) << index << " " << name;
      // A first mismatch is enough to see the fault; thousands would bury it.
      if (value.get<std::string>() != Expected(record, name, true)) {
        ADD_FAILURE() << index << " " << name << ": " << value.get<std::string>() << " for "
                      << Expected(record, name, true);
        return;
      }
    }
  }
}

// Japan Post's file, unpacked into the build folder, read once; skipped when it is absent.
class RealDataFormats : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fs::path path;
    for (const char* name : {"KEN_ALL.CSV", "ken_all.csv"}) {
      if (fs::exists(fs::path(MORVANE_DATA_DIR) / name)) path = fs::path(MORVANE_DATA_DIR) / name;
    }
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
    if (records_.empty()) GTEST_SKIP() << "no KEN_ALL.CSV in " << MORVANE_DATA_DIR;
  }

  static std::string Written(Format format, OutputEncoding encoding) {
    RecordWriter writer(format, encoding);
    for (const Record& record : records_) writer.Add(record);
    return writer.Finish();
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
      const std::vector<std::vector<std::string>> rows =
          format == Format::Tsv ? ParseTsv(text, !utf8) : ParseCsv(text);
      ASSERT_EQ(records.size() + 1, rows.size()) << label;
      const std::vector<std::string>& header = rows[0];
      ASSERT_EQ(kColumns.size(), header.size()) << label;
      std::size_t wrong = 0;
      for (std::size_t i = 0; i < records.size(); ++i) {
        ASSERT_EQ(header.size(), rows[i + 1].size()) << label << " record " << i;
        for (std::size_t f = 0; f < header.size(); ++f) {
          const std::string expected = Expected(records[i], header[f], utf8);
          if (rows[i + 1][f] != expected && wrong++ == 0) {
            const auto shown = [&](const std::string& t) {
              return utf8 ? t : platform::Cp932ToUtf8(t);
            };
            ADD_FAILURE() << label << " record " << i << " " << header[f] << ": "
                          << shown(rows[i + 1][f]) << " for " << shown(expected);
          }
        }
      }
      EXPECT_EQ(0u, wrong) << label << ": fields that read back otherwise";
    }
  }
}

TEST_F(RealDataFormats, JsonReadsBackEqual) {
  const std::vector<Record>& records = records_;
  const nlohmann::json array = nlohmann::json::parse(Written(Format::Json, OutputEncoding::Utf8));
  ASSERT_EQ(records.size(), array.size());
  for (std::size_t i = 0; i < records.size(); ++i) ExpectJsonRecord(array[i], records[i], i);

  std::istringstream lines(Written(Format::Jsonl, OutputEncoding::Cp932));  // always UTF-8
  std::size_t count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    ASSERT_LT(count, records.size());
    ExpectJsonRecord(nlohmann::json::parse(line), records[count], count);
  }
  EXPECT_EQ(records.size(), count);
}

}  // namespace
