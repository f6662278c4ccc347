#include "text_reader.h"

#include "data_file.h"

namespace orvek::detail {

int TextModeReader::PeekRaw() {
  if (position_ == filled_) {
    if (failed_) return -1;
    const ssize_t n = file_.Read(raw_, sizeof raw_);
    failed_ = n < 0;
    filled_ = n > 0 ? static_cast<std::size_t>(n) : 0;
    position_ = 0;
    if (filled_ == 0) return -1;
  }
  return static_cast<unsigned char>(raw_[position_]);
}

int TextModeReader::NextByte() {
  const int byte = PeekRaw();
  if (byte < 0) return -1;
  ++position_;
  if (byte == '\r' && PeekRaw() == '\n') {
    ++position_;
    return '\n';
  }
  return byte;
}

bool TextModeReader::ReadPiece(char* buffer, std::size_t size, std::size_t* length) {
  std::size_t n = 0;
  while (n + 1 < size) {
    const int byte = NextByte();
    if (byte < 0) break;
    buffer[n++] = static_cast<char>(byte);
    if (byte == '\n') break;
  }
  buffer[n] = '\0';
  *length = n;
  return n > 0 && !failed_;
}

}  // namespace orvek::detail
