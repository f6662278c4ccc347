// Proves that a program built by the Windows toolchain runs under the test harness's Wine, as a
// 64-bit program, with the ANSI code page that every CP932 text in the program assumes.
#include <windows.h>

#include <cstdio>

int main() {
  const UINT acp = GetACP();
  std::printf("ANSI code page %u, %zu-bit\n", acp, sizeof(void*) * 8);
  // Without ja_JP.UTF-8 Wine takes code page 1252, and CP932 names turn into mojibake.
  if (acp != 932) return 1;
  // A window of the real window system, as the list-box searches need.
  HWND list =
      CreateWindowExA(0, "LISTBOX", "", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  if (list == nullptr) return 2;
  const char row[] = "\x93\x8c\x8b\x9e\x93\x73";  // 東京都
  const LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
  char back[16] = {};
  SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(back));
  DestroyWindow(list);
  if (index != 0 || lstrcmpA(back, row) != 0) return 3;
  // The same bytes through the system converter: 東京都 is three UTF-16 characters.
  wchar_t wide[8] = {};
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, row, -1, wide, 8) != 4) return 4;
  if (wide[0] != 0x6771 || wide[1] != 0x4EAC || wide[2] != 0x90FD) return 5;
  std::puts("Windows program ran");
  return 0;
}
