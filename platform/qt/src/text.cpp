#include "text.h"

#include "platform/encoding.h"

namespace platform::qt {

QString ToQString(std::string_view cp932) {
  return QString::fromStdString(Cp932ToUtf8(cp932));
}

std::optional<std::string> ToCp932(const QString& text) {
  return Utf8ToCp932(text.toStdString());
}

std::vector<int> ByteOffsets(const std::string& cp932) {
  // Character by character, the way the conversion reads it: a lead byte with a valid second
  // byte is one character; anything else is one byte (shown as itself or as U+FFFD).
  std::vector<int> offsets;
  offsets.reserve(cp932.size() + 1);
  std::size_t at = 0;
  while (at < cp932.size()) {
    std::size_t width = 1;
    if (IsCp932LeadByte(static_cast<unsigned char>(cp932[at])) && at + 1 < cp932.size()) {
      const QString pair = ToQString(cp932.substr(at, 2));
      if (pair.size() == 1 && pair[0] != QChar(0xFFFD)) width = 2;
    }
    const qsizetype units = ToQString(cp932.substr(at, width)).size();
    for (qsizetype i = 0; i < units; ++i) offsets.push_back(static_cast<int>(at));
    at += width;
  }
  offsets.push_back(static_cast<int>(cp932.size()));
  return offsets;
}

}  // namespace platform::qt
