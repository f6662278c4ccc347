// Orvek: the postal-code search over Japan Post's ken_all.csv. The one class that the library
// exports, and the record that a data-file line is cut into.
#pragma once

#include "platform/afxwin.h"

#if defined(_WIN32) && defined(ORVEK_BUILDING_DLL)
// A DLL exports only what is marked; marking the class keeps everything else inside.
#define ORVEK_API __declspec(dllexport)
#elif defined(_WIN32)
#define ORVEK_API
#else
#define ORVEK_API __attribute__((visibility("default")))
#endif

// One line of the data file, as fixed-width NUL-terminated copies of its first nine columns,
// quotes included. A longer column keeps its first (size - 1) bytes.
struct ST_ORVEK_TBL {
  char szLocalCode[6];
  char szOldCode[8];
  char szPostalCode[10];
  char szPrefKana[11];
  char szCityKana[41];
  char szTownKana[41];
  char szPref[11];
  char szCity[23];
  char szTown[81];
};

class ORVEK_API COrvek_Bango_Kensaku {
 public:
  COrvek_Bango_Kensaku();
  COrvek_Bango_Kensaku(const COrvek_Bango_Kensaku&);
  COrvek_Bango_Kensaku& operator=(const COrvek_Bango_Kensaku&);
  virtual ~COrvek_Bango_Kensaku();

  // Appends a row for every record whose postal code equals code (quoted, e.g. "\"1000001\"").
  // 0 when the whole file was read; -1 after a message box when it could not be opened (no
  // rows added) or a read failed before its end (the rows found until then stay).
  int fnGetChimei(char* code, CListBox* list);
  // Appends a row for every record that matches the quoted keys in the given mode (1 to 5).
  int fnGetOrvek(char* pref, char* city, char* town, int mode, CListBox* list);

 private:
  friend class COrvekTestAccess;  // the tests reach the record and row routines directly

  int fnChkJusho(char* pref, char* city, char* town, int mode, ST_ORVEK_TBL* record);
  void fnGetData(char* line, ST_ORVEK_TBL* record);
  CString fnCreateString(ST_ORVEK_TBL* record);
  void fnDeleteTen(char* row);
};
