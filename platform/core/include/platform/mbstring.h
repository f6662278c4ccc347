// The runtime's multibyte string helpers that the program calls.
#pragma once

// Compares two multibyte strings character by character: <0, 0 or >0 like strcmp.
int _mbscmp(const unsigned char* a, const unsigned char* b);
// Writes value in the given base (2 to 36) with a minus sign for negative decimals; returns
// buffer. The buffer must hold 33 bytes for any int.
char* _itoa(int value, char* buffer, int radix);
