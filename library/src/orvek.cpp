#include "orvek/orvek.h"

#include <unistd.h>

#include <optional>
#include <string>

#include "data_file.h"
#include "match.h"
#include "record.h"
#include "row.h"
#include "search.h"

namespace {

using orvek::detail::DataFileCheck;
using orvek::detail::kRowBufferSize;
using orvek::detail::SearchKeys;

// "[fnGetChimei]\n郵便番号ファイルオープンエラー" (both searches show it)
constexpr char kOpenErrorMessage[] =
    "[fnGetChimei]\n"
    "\x97\x58\x95\xd6\x94\xd4\x8d\x86\x83\x74\x83\x40\x83\x43\x83\x8b"
    "\x83\x49\x81\x5b\x83\x76\x83\x93\x83\x47\x83\x89\x81\x5b";
// "[fnGetChimei]\n郵便番号ファイル読み込みエラー": the file stopped giving lines before its end.
constexpr char kReadErrorMessage[] =
    "[fnGetChimei]\n"
    "\x97\x58\x95\xd6\x94\xd4\x8d\x86\x83\x74\x83\x40\x83\x43\x83\x8b"
    "\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x83\x47\x83\x89\x81\x5b";

class ListBoxSink final : public orvek::detail::RowSink {
 public:
  explicit ListBoxSink(HWND list) : list_(list) {}
  void AddRow(const char* row) override {
    SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
  }

 private:
  HWND list_;
};

// Takes the quotes out of every row of the list, the caller's older rows included, by
// deleting each row and inserting its cleaned text at the same index.
void CleanRows(HWND list) {
  char row[kRowBufferSize];
  std::string long_row;
  for (WPARAM i = 0; static_cast<LRESULT>(i) < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, i, 0);
    if (length < 0) break;
    char* text = row;
    if (static_cast<std::size_t>(length) >= sizeof row) {
      // Not one of ours (ours are at most 130 bytes): cleaned whole rather than overrun or cut.
      long_row.assign(static_cast<std::size_t>(length) + 1, '\0');
      text = long_row.data();
    }
    if (SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text)) == LB_ERR) break;
    orvek::detail::DeleteQuotes(text);
    SendMessageA(list, LB_DELETESTRING, i, 0);
    SendMessageA(list, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(text));
  }
}

int RunSearch(const SearchKeys& keys, CListBox* list) {
  // A file that is not Japan Post's (an archive, a web page, the UTF-8 edition, a cut copy)
  // is refused as one that cannot be opened: no row of it is shown. A named pipe's first line
  // is checked as it arrives, before the search reads on.
  const int fd = orvek::detail::OpenDataFile();
  orvek::detail::DataFileFacts facts;
  const bool opened =
      fd >= 0 && orvek::detail::CheckOpenDataFile(fd, facts) == DataFileCheck::kJapanPost;
  std::optional<orvek::detail::DataReader> file;
  if (opened) file.emplace(fd);
  if (!opened || file->CheckPipeStart() != DataFileCheck::kJapanPost) {
    if (fd >= 0) ::close(fd);
    AfxMessageBox(kOpenErrorMessage, MB_OK, 0);
    return -1;
  }
  const HWND window = list->GetSafeHwnd();
  ListBoxSink sink(window);
  const bool read_whole = orvek::detail::SearchFast(*file, keys, sink);
  // The rows found before a read error stay, cleaned like any others; the caller must still
  // learn that the list may lack rows.
  CleanRows(window);
  ::close(fd);
  if (!read_whole) {
    AfxMessageBox(kReadErrorMessage, MB_OK, 0);
    return -1;
  }
  return 0;
}

}  // namespace

COrvek_Bango_Kensaku::COrvek_Bango_Kensaku() = default;
COrvek_Bango_Kensaku::COrvek_Bango_Kensaku(const COrvek_Bango_Kensaku&) = default;
COrvek_Bango_Kensaku& COrvek_Bango_Kensaku::operator=(const COrvek_Bango_Kensaku&) = default;
COrvek_Bango_Kensaku::~COrvek_Bango_Kensaku() = default;

int COrvek_Bango_Kensaku::fnGetChimei(char* code, CListBox* list) {
  return RunSearch(SearchKeys::ForPostalCode(code), list);
}

int COrvek_Bango_Kensaku::fnGetOrvek(char* pref, char* city, char* town, int mode, CListBox* list) {
  return RunSearch(SearchKeys::ForAddress(pref, city, town, mode), list);
}

int COrvek_Bango_Kensaku::fnChkJusho(char* pref, char* city, char* town, int mode,
                                     ST_ORVEK_TBL* record) {
  return orvek::detail::CheckAddress(pref, city, town, mode, *record);
}

void COrvek_Bango_Kensaku::fnGetData(char* line, ST_ORVEK_TBL* record) {
  orvek::detail::ParseLine(line, record);
}

CString COrvek_Bango_Kensaku::fnCreateString(ST_ORVEK_TBL* record) {
  char row[kRowBufferSize];
  orvek::detail::CreateRow(*record, row);
  return CString(row);
}

void COrvek_Bango_Kensaku::fnDeleteTen(char* row) {
  orvek::detail::DeleteQuotes(row);
}
