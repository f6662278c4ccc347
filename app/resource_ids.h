// Resource and control numbers of Morvane, as a resource script would number them.
#pragma once

namespace morvane {

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_MORVANE_DIALOG = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDD_CODE_TO_ADDRESS = 129;
inline constexpr int IDD_ADDRESS_TO_CODE = 130;
inline constexpr int IDD_SEARCHING = 131;

// System-menu command of the About item; its low four bits are clear.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;

// Main menu.
inline constexpr int IDC_CODE_TO_ADDRESS = 1000;
inline constexpr int IDC_ADDRESS_TO_CODE = 1001;
inline constexpr int IDC_QUIT = 1002;
inline constexpr int IDC_MENU_ICON = 1014;

// Searching popup.
inline constexpr int IDC_SEARCHING_TEXT = 1011;

// Both search dialogs.
inline constexpr int IDC_RESULT_LIST = 1005;
inline constexpr int IDC_BACK = 1006;
inline constexpr int IDC_EXIT = 1007;
inline constexpr int IDC_SEARCH = 1008;

// Postal code to address.
inline constexpr int IDC_CODE3 = 1001;
inline constexpr int IDC_CODE4 = 1002;
inline constexpr int IDC_CODE_CLEAR = 1012;
inline constexpr int IDC_CODE_RES_PREF = 1013;
inline constexpr int IDC_CODE_RES_CITY = 1014;
inline constexpr int IDC_CODE_RES_TOWN = 1015;
inline constexpr int IDC_CODE_RES_ALL = 1016;

// Address to postal code.
inline constexpr int IDC_PREF = 1001;
inline constexpr int IDC_CITY = 1002;
inline constexpr int IDC_TOWN = 1003;
inline constexpr int IDC_ADDR_RES_PREF = 1004;
inline constexpr int IDC_COUNT = 1009;
inline constexpr int IDC_ADDR_CLEAR = 1010;
inline constexpr int IDC_ADDR_RES_CITY = 1011;
inline constexpr int IDC_ADDR_RES_TOWN = 1012;
inline constexpr int IDC_ADDR_RES_ALL = 1013;

}  // namespace morvane
