// What the library's tests share: CP932 text from UTF-8 literals, a temporary working folder
// for data files (the library opens its file by bare name), and the reach into the class.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orvek/orvek.h"
#include "search.h"
#include "test_support.h"

namespace orvek_test {

using test_support::Cp932;
// A name as the dialogs pass it: CP932, in double quotes.
std::string Quoted(const char* utf8);

// Makes a fresh folder the current directory and returns to the previous one at the end.
class WorkingFolder {
 public:
  WorkingFolder();
  ~WorkingFolder();
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

  void Write(const std::string& name, const std::string& bytes) const;
  void Remove(const std::string& name) const;
  const std::string& Path() const { return path_; }

 private:
  std::string previous_;
  test_support::TemporaryFolder folder_{"orvek-test-"};
  std::string path_ = folder_.Path().string();
};

// A file descriptor for reading path byte for byte (binary mode on Windows, where the C
// runtime's default text mode would drop CRs and stop at a Ctrl+Z); -1 on failure.
int OpenBinary(const std::string& path);

// The rows of a list box, in order.
std::vector<std::string> Rows(const CListBox& list);

// The rows (quotes still in them) that a search finds in the file at path.
using SearchFunction = bool (*)(int, const orvek::detail::SearchKeys&, orvek::detail::RowSink&);
std::vector<std::string> SearchRows(SearchFunction search, const std::string& path,
                                    const orvek::detail::SearchKeys& keys);

}  // namespace orvek_test

// The class grants this name access to its record and row routines.
class COrvekTestAccess {
 public:
  static void GetData(const std::string& line, ST_ORVEK_TBL* record) {
    std::string copy = line;
    COrvek_Bango_Kensaku().fnGetData(copy.data(), record);
  }
  static std::string CreateString(ST_ORVEK_TBL* record) {
    return COrvek_Bango_Kensaku().fnCreateString(record).Bytes();
  }
  static void DeleteTen(char* row) { COrvek_Bango_Kensaku().fnDeleteTen(row); }
  static int ChkJusho(const std::string& pref, const std::string& city, const std::string& town,
                      int mode, ST_ORVEK_TBL* record) {
    std::string p = pref, c = city, t = town;
    return COrvek_Bango_Kensaku().fnChkJusho(p.data(), c.data(), t.data(), mode, record);
  }
};
