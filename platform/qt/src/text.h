// CP932 <-> Unicode where text meets Qt, and the mapping between CP932 byte offsets and
// positions in a QString.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::qt {

// Invalid CP932 shows as U+FFFD.
QString ToQString(std::string_view cp932);
// Nothing when a character has no CP932 form.
std::optional<std::string> ToCp932(const QString& text);

// For each UTF-16 position of ToQString(cp932), 0 to its length, the byte offset in cp932.
std::vector<int> ByteOffsets(const std::string& cp932);

}  // namespace platform::qt
