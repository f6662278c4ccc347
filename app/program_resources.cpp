#include "program_resources.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "icon/program_icon.h"
#include "platform/encoding.h"
#include "platform/resource_registry.h"
#include "resource_ids.h"

namespace morvane {
namespace {

using platform::ControlTemplate;
using platform::DialogTemplate;
using platform::WindowKind;

constexpr WindowKind kButton = WindowKind::PushButton;
constexpr WindowKind kEdit = WindowKind::Edit;
constexpr WindowKind kList = WindowKind::ListBox;
constexpr WindowKind kText = WindowKind::StaticText;
constexpr WindowKind kIcon = WindowKind::StaticIcon;

constexpr DWORD kPushButton = BS_PUSHBUTTON | WS_TABSTOP;
// The dialogs hear the list's keys first (WM_VKEYTOITEM), for Ctrl+C.
constexpr DWORD kResultList = LBS_NOTIFY | LBS_WANTKEYBOARDINPUT | LBS_DISABLENOSCROLL |
                              LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kEditBox = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kHeading = SS_SUNKEN | SS_CENTER;
constexpr DWORD kSearchDialog =
    WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_CENTER | DS_SETFONT;

const char* const kGothic = "ＭＳ ゴシック";
const char* const kPGothic = "ＭＳ Ｐゴシック";

// A control row of a template table, with its text still in UTF-8.
struct Row {
  int id;
  WindowKind kind;
  const char* text;
  DWORD style;
  int x, y, cx, cy;
  int icon = 0;
  const char* accessible_name = "";
};

DialogTemplate Dialog(int id, const char* caption, DWORD style, DWORD ex_style, int cx, int cy,
                      const char* font, std::initializer_list<Row> rows) {
  DialogTemplate t{id, Sjis(caption), style, ex_style, cx, cy, Sjis(font), 9, {}};
  for (const Row& r : rows) {
    t.controls.push_back(ControlTemplate{r.id, r.kind, Sjis(r.text), r.style, r.x, r.y, r.cx, r.cy,
                                         r.icon, Sjis(r.accessible_name)});
  }
  return t;
}

// Template 102: the main menu.
DialogTemplate MainMenu() {
  return Dialog(IDD_MORVANE_DIALOG, "Morvane",
                WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                WS_EX_APPWINDOW, 319, 143, kGothic,
                {
                    {1000, kButton, "郵便番号から住所を検索", kPushButton, 30, 57, 260, 20},
                    {1001, kButton, "住所から郵便番号を検索", kPushButton, 30, 83, 260, 20},
                    {-1, kText, "郵便番号検索　　Morvane Ver.1.0",
                     SS_CENTER | SS_CENTERIMAGE | WS_GROUP, 65, 15, 188, 18},
                    {1002, kButton, "郵便番号検索　　Morvaneの終了", kPushButton, 30, 109, 260, 20},
                    {1014, kIcon, "", SS_ICON | SS_CENTERIMAGE, 21, 15, 21, 21, IDR_MAINFRAME},
                });
}

// Template 100: the About box.
DialogTemplate AboutBox() {
  return Dialog(
      IDD_ABOUTBOX, "Morvaneのﾊﾞｰｼﾞｮﾝ情報",
      WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 235, 75, kPGothic,
      {
          {-1, kIcon, "", SS_ICON, 11, 17, 20, 21, IDR_MAINFRAME},
          {-1, kText, "Morvane Version 1.0", SS_LEFT | SS_NOPREFIX | WS_GROUP, 40, 10, 119, 8},
          {-1, kText, "郵便番号データ：日本郵便", SS_LEFT | WS_GROUP, 40, 48, 119, 8},
          {IDOK, kButton, "OK", BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 178, 7, 50, 14},
          {-1, kText, "Copyright (C) 2026 Morvane", SS_LEFT | WS_GROUP, 40, 29, 119, 8},
      });
}

// Template 131: the searching popup. Its text is replaced before anyone sees it.
DialogTemplate SearchingPopup() {
  return Dialog(IDD_SEARCHING, "データ検索中",
                WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_CENTER | DS_MODALFRAME | DS_SETFONT, 0, 110,
                33, kGothic,
                {
                    {1011, kText, "TXT", SS_CENTER | WS_GROUP, 5, 6, 99, 21},
                });
}

// Template 129: postal code to address.
DialogTemplate CodeToAddress() {
  return Dialog(IDD_CODE_TO_ADDRESS, "郵便番号から住所を検索", kSearchDialog, 0, 495, 183, kGothic,
                {
                    {-1, kText, "郵便番号", SS_CENTER, 12, 15, 34, 10},
                    {1001, kEdit, "", kEditBox | ES_RIGHT, 51, 12, 23, 16},
                    {-1, kText, "-", SS_CENTER, 76, 14, 9, 12},
                    {1002, kEdit, "", kEditBox | ES_RIGHT, 88, 12, 22, 16, 0, "郵便番号 下4桁"},
                    {1008, kButton, "検索", kPushButton, 123, 12, 29, 15},
                    {1012, kButton, "クリア", kPushButton, 158, 12, 30, 15},
                    {-1, kText, "郵便番号", kHeading, 8, 35, 37, 12},
                    {-1, kText, "都道府県", kHeading, 47, 35, 44, 12},
                    {-1, kText, "市区町村", kHeading, 93, 35, 89, 12},
                    {-1, kText, "町域", kHeading, 184, 35, 293, 12},
                    {1005, kList, "", kResultList, 7, 50, 481, 76, 0, "検索結果"},
                    {-1, kText, "都道府県", SS_CENTER, 17, 131, 34, 13},
                    {1013, kEdit, "", kEditBox, 55, 131, 48, 13},
                    {-1, kText, "市区町村", SS_LEFT, 109, 132, 34, 13},
                    {1014, kEdit, "", kEditBox, 145, 131, 96, 13},
                    {-1, kText, "町域", SS_LEFT, 243, 132, 25, 13},
                    {1015, kEdit, "", kEditBox, 269, 131, 160, 13},
                    {-1, kText, "すべて", SS_LEFT, 18, 153, 34, 13},
                    {1016, kEdit, "", kEditBox, 55, 155, 291, 13},
                    {1006, kButton, "戻る", kPushButton, 439, 132, 45, 18},
                    {1007, kButton, "終了", kPushButton, 439, 155, 45, 18},
                });
}

// Template 130: address to postal code.
DialogTemplate AddressToCode() {
  return Dialog(IDD_ADDRESS_TO_CODE, "住所から郵便番号を検索", kSearchDialog, 0, 495, 183, kGothic,
                {
                    {-1, kText, "都道府県", SS_CENTER, 12, 19, 34, 10},
                    {1001, kEdit, "", kEditBox, 51, 16, 43, 12},
                    {-1, kText, "市区町村", SS_LEFT, 96, 18, 41, 12},
                    {1002, kEdit, "", kEditBox, 138, 16, 79, 13},
                    {-1, kText, "町域", SS_LEFT, 220, 18, 21, 12},
                    {1003, kEdit, "", kEditBox, 243, 16, 96, 13},
                    {1008, kButton, "検索", kPushButton, 349, 16, 29, 15},
                    {1010, kButton, "クリア", kPushButton, 382, 16, 29, 15},
                    {-1, kText, "郵便番号", kHeading, 8, 39, 37, 12},
                    {-1, kText, "都道府県", kHeading, 47, 39, 44, 12},
                    {-1, kText, "市区町村", kHeading, 93, 39, 89, 12},
                    {-1, kText, "町域", kHeading, 185, 39, 292, 12},
                    {1005, kList, "", kResultList, 7, 54, 481, 76, 0, "検索結果"},
                    {-1, kText, "都道府県", SS_LEFT, 13, 137, 34, 10},
                    {1004, kEdit, "", kEditBox, 52, 134, 55, 13, 0, "結果の都道府県"},
                    {-1, kText, "市区町村", SS_LEFT, 111, 136, 41, 12},
                    {1011, kEdit, "", kEditBox, 154, 134, 96, 13, 0, "結果の市区町村"},
                    {-1, kText, "町域", SS_LEFT, 18, 157, 21, 12},
                    {1012, kEdit, "", kEditBox, 52, 155, 117, 13, 0, "結果の町域"},
                    {-1, kText, "すべて", SS_LEFT, 172, 158, 24, 12},
                    {1013, kEdit, "", kEditBox, 197, 155, 230, 13, 0, "結果のすべて"},
                    {-1, kText, "該当データ件数", SS_CENTER, 258, 133, 57, 12},
                    {1009, kText, "件", SS_RIGHT | SS_CENTERIMAGE, 320, 133, 57, 12},
                    {1006, kButton, "戻る", kPushButton, 438, 133, 45, 18},
                    {1007, kButton, "終了", kPushButton, 438, 157, 45, 18},
                });
}

}  // namespace

const char* Sjis(std::string_view utf8) {
  static std::map<std::string, std::string, std::less<>> converted;
  auto it = converted.find(utf8);
  if (it == converted.end()) {
    std::optional<std::string> cp932 = platform::Utf8ToCp932(utf8);
    if (!cp932) {
      // Only the program's own texts come here: one CP932 cannot hold is a mistake in the source.
      std::fprintf(stderr, "morvane: text not representable in CP932: %.*s\n",
                   static_cast<int>(utf8.size()), utf8.data());
      std::abort();
    }
    it = converted.emplace(std::string(utf8), std::move(*cp932)).first;
  }
  return it->second.c_str();
}

void RegisterResources() {
  platform::RegisterDialogTemplate(AboutBox());
  platform::RegisterDialogTemplate(MainMenu());
  platform::RegisterDialogTemplate(CodeToAddress());
  platform::RegisterDialogTemplate(AddressToCode());
  platform::RegisterDialogTemplate(SearchingPopup());
  platform::RegisterIconResource(ProgramIcon());
  platform::RegisterStringResource(IDS_ABOUTBOX, Sjis("Morvane のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
}

}  // namespace morvane
