// CString: the framework's byte string. Holds code-page 932 bytes, never Unicode; conversion
// happens only where text leaves the program (see encoding.h).
#pragma once

#include <string>
#include <string_view>

#include "platform/wintypes.h"

class CString {
 public:
  CString() = default;
  CString(const char* text) : bytes_(text ? text : "") {}  // NOLINT(google-explicit-constructor)
  CString(const char* text, int length) : bytes_(text, static_cast<std::size_t>(length)) {}
  explicit CString(std::string bytes) : bytes_(std::move(bytes)) {}

  int GetLength() const { return static_cast<int>(bytes_.size()); }
  bool IsEmpty() const { return bytes_.empty(); }
  void Empty() { bytes_.clear(); }

  // Readers through the C string see the text up to its first NUL, as with the classic class.
  operator const char*() const { return bytes_.c_str(); }  // NOLINT(google-explicit-constructor)
  const std::string& Bytes() const { return bytes_; }

  char GetAt(int index) const { return bytes_.at(static_cast<std::size_t>(index)); }
  char operator[](int index) const { return GetAt(index); }

  CString& operator=(const char* text) {
    bytes_ = text ? text : "";
    return *this;
  }
  CString& operator+=(const CString& other) {
    bytes_ += other.bytes_;
    return *this;
  }
  CString& operator+=(const char* text) {
    bytes_ += text ? text : "";
    return *this;
  }
  CString& operator+=(char ch) {
    bytes_ += ch;
    return *this;
  }
  friend CString operator+(const CString& a, const CString& b) {
    return CString(a.bytes_ + b.bytes_);
  }
  friend CString operator+(const CString& a, const char* b) {
    return CString(a.bytes_ + (b ? b : ""));
  }
  friend CString operator+(const char* a, const CString& b) {
    return CString((a ? a : "") + b.bytes_);
  }
  friend bool operator==(const CString& a, const CString& b) { return a.bytes_ == b.bytes_; }
  friend bool operator==(const CString& a, const char* b) { return a.bytes_ == (b ? b : ""); }

  // Replaces every single-byte character old_char by new_char in place and returns how many
  // were replaced. Steps over double-byte characters, so a trail byte is never taken for a
  // single-byte one. The length stays the same, also when new_char is NUL.
  int Replace(char old_char, char new_char);

  // A writable buffer of at least min_length bytes plus a NUL; ReleaseBuffer(-1) takes the
  // length up to the first NUL.
  char* GetBuffer(int min_length);
  void ReleaseBuffer(int new_length = -1);

  // Loads a string resource registered by the program (see resources.h). FALSE when missing.
  BOOL LoadString(UINT id);

 private:
  std::string bytes_;
};
