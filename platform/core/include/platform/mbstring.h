// The runtime's multibyte string helpers that the program calls.
#pragma once

// Compares two multibyte strings character by character: <0, 0 or >0 like strcmp.
int _mbscmp(const unsigned char* a, const unsigned char* b);
// Writes value in the given base (2 to 36) with a minus sign for negative decimals; returns
// buffer. The buffer must hold 33 bytes for any int.
char* _itoa(int value, char* buffer, int radix);

// The runtime's multibyte code page: only CP932 (and -3, the system's ANSI code page, which is
// CP932 for this program) are accepted.
inline constexpr int _MB_CP_ANSI = -3;
int _setmbcp(int code_page);
int _getmbcp();
