#include "platform/cstring.h"

#include <cstring>

#include "platform/encoding.h"
#include "platform/resource_registry.h"

int CString::Replace(char old_char, char new_char) {
  int replaced = 0;
  for (std::size_t i = 0; i < bytes_.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes_[i]);
    if (platform::IsCp932LeadByte(byte) && i + 1 < bytes_.size()) {
      ++i;  // the trail byte belongs to this character
      continue;
    }
    if (bytes_[i] == old_char) {
      bytes_[i] = new_char;
      ++replaced;
    }
  }
  return replaced;
}

char* CString::GetBuffer(int min_length) {
  if (min_length > GetLength()) bytes_.resize(static_cast<std::size_t>(min_length));
  return bytes_.data();
}

void CString::ReleaseBuffer(int new_length) {
  if (new_length < 0) {
    bytes_.resize(std::strlen(bytes_.c_str()));
  } else {
    bytes_.resize(static_cast<std::size_t>(new_length));
  }
}

BOOL CString::LoadString(UINT id) {
  const std::string* text = platform::FindStringResource(id);
  if (text == nullptr) return FALSE;
  bytes_ = *text;
  return TRUE;
}
