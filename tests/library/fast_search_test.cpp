// The block-scanning search must find exactly the rows of the literal fgets-and-parse search,
// whatever the file holds.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "orvek_test_support.h"

namespace {

using orvek::detail::SearchFast;
using orvek::detail::SearchKeys;
using orvek::detail::SearchLiteral;
using orvek_test::Quoted;
using orvek_test::SearchRows;

struct KeySet {
  std::string code, pref, city, town;
};

// The fast search on SSE2 alone, as on a processor without AVX2.
bool SearchFastSse2(int fd, const SearchKeys& keys, orvek::detail::RowSink& sink) {
  return SearchFast(fd, keys, sink, orvek::detail::Simd::kSse2);
}

// Every search of both kinds, modes 0 to 6, over the given keys, gives the same rows.
void ExpectSameRows(const std::string& path, const std::vector<KeySet>& key_sets) {
  const auto expect_same = [&](const SearchKeys& keys, const std::string& what) {
    const std::vector<std::string> literal = SearchRows(SearchLiteral, path, keys);
    ASSERT_EQ(literal, SearchRows(SearchFast, path, keys)) << what;
    ASSERT_EQ(literal, SearchRows(SearchFastSse2, path, keys)) << what << " (SSE2)";
  };
  for (const KeySet& keys : key_sets) {
    expect_same(SearchKeys::ForPostalCode(keys.code.c_str()), "code [" + keys.code + "]");
    for (int mode = 0; mode <= 6; ++mode) {
      expect_same(
          SearchKeys::ForAddress(keys.pref.c_str(), keys.city.c_str(), keys.town.c_str(), mode),
          "mode " + std::to_string(mode) + " [" + keys.pref + "][" + keys.city + "][" + keys.town +
              "]");
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

std::string Record(const std::string& code, const std::string& pref, const std::string& city,
                   const std::string& town) {
  return "13101,\"100  \",\"" + code + "\",a,b,c," + pref + "," + city + "," + town + ",0,0";
}

const std::vector<KeySet>& NastyKeys() {
  static const std::vector<KeySet> keys = {
      {"\"1000001\"", Quoted("東京都"), Quoted("千代田区"), Quoted("千代田")},
      {"", "", "", ""},
      {"1000001", Quoted("東京都"), "", ""},
      {"\"1000001\"", "", Quoted("千代田区"), ""},
      {"\"10", "", "", Quoted("千代田")},
      {"\"1000001\"\r", "x\r", "\n", "\"y\""},
      {"\"1000001\"", Quoted("東京都"), Quoted("千代田区"), ""},
  };
  return keys;
}

TEST(FastSearchTest, SameRowsOnAFileOfOddLines) {
  orvek_test::WorkingFolder folder;
  const std::string hit = Record("1000001", Quoted("東京都"), Quoted("千代田区"), Quoted("千代田"));
  std::string file;
  file += hit + "\r\n";
  file += "\r\n\n";                                            // empty lines: nine empty fields
  file += "1,2,\"1000001\"\r\n";                               // missing columns
  file += "1,2,\"1000001\",4,5,6,,,\r\n";                      // empty columns
  file += "1,2,\"1000001\",4,5,6,7,8,\r\n";                    // empty last column before CR LF
  file += hit + "\r\r\n";                                      // a CR that stays
  file += hit.substr(0, 60) + '\0' + hit.substr(60) + "\r\n";  // a NUL inside
  file += std::string(499, 'x') + hit + "\r\n";                // the record is the second piece
  file += std::string(498, 'x') + "\r\n" + hit + "\n";         // CR LF counted as one byte
  file += std::string(497, ',') + "\"1000001\"\r\n";           // a hit across the cut
  file += std::string(40000, ',') + "\r\n";                    // longer than half a block
  file += std::string(70000, 'y') + hit + std::string(3, '\r') + "\r\n";  // longer than a block
  file += std::string(499 * 141, '\r') + "\n";  // CRs at every cut; the last one goes
  file += "\x93" + hit + "\n";                  // a lone lead byte
  file += hit;                                  // no LF at the end
  folder.Write("odd.csv", file);
  ExpectSameRows(folder.Path() + "/odd.csv", NastyKeys());
  // And with a CR as the very last byte.
  folder.Write("cr.csv", hit + "\r\n" + hit + "\r");
  ExpectSameRows(folder.Path() + "/cr.csv", NastyKeys());
}

// Among well-formed lines, each kind of odd line alone must be found.
TEST(FastSearchTest, SameRowsWhenOneLineIsOdd) {
  orvek_test::WorkingFolder folder;
  const std::string hit = Record("1000001", Quoted("東京都"), Quoted("千代田区"), Quoted("千代田"));
  std::string regular;
  for (int i = 0; i < 300; ++i) regular += hit + "\r\n";
  const std::string odd_lines[] = {
      hit + std::string(500, 'p'),                // a second piece of one column
      "1,2,\"1000001\",4,5,6,7",                  // too few columns
      "1,2,\"1000001\",4,5,6,7,,9",               // an empty column
      "1,2,\"1000001\",4,5,6,7,8,",               // an empty last column
      "1,2,\"1000001\",4,5,6,7,8,\n" + hit,       // the same, before a bare LF
      hit.substr(0, 30) + '\0' + hit.substr(30),  // a NUL
  };
  for (const std::string& odd : odd_lines) {
    folder.Write("one.csv", regular + odd + "\r\n" + regular);
    ExpectSameRows(folder.Path() + "/one.csv", {{"", "", "", ""}, {"\"1000001\"", "", "", ""}});
  }
}

TEST(FastSearchTest, SameRowsOnRandomFiles) {
  orvek_test::WorkingFolder folder;
  const std::string fragments[] = {
      ",",
      ",",
      ",",
      "\n",
      "\r\n",
      "\r",
      std::string(1, '\0'),
      "\"1000001\"",
      Quoted("東京都"),
      Quoted("千代田区"),
      Quoted("千代田"),
      "\"",
      "\x93",
      "abc",
      std::string(120, 'w'),
      Record("1000001", Quoted("東京都"), "\"\"", Quoted("千代田")) + "\r\n"};
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    std::string file;
    const int count = static_cast<int>(random() % 3000);
    for (int i = 0; i < count; ++i) file += fragments[random() % std::size(fragments)];
    folder.Write("random.csv", file);
    ExpectSameRows(folder.Path() + "/random.csv",
                   {NastyKeys()[0], NastyKeys()[1], {"\"1000001\"", "", "\"\"", ""}});
    if (HasFatalFailure()) {
      ADD_FAILURE() << "round " << round;
      return;
    }
  }
}

}  // namespace
