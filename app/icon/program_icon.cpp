#include "icon/program_icon.h"

#include <cstddef>

#include "resource_ids.h"

namespace morvane {

// Icon 128: a red rounded square with the white postal mark (〒), 32 x 32 in a 256-colour
// palette of which it uses five entries.
platform::Icon ProgramIcon() {
  constexpr int kSize = 32;
  platform::Icon icon{IDR_MAINFRAME, kSize, kSize, std::vector<std::uint32_t>(256, 0x00000000),
                      std::vector<std::uint8_t>(kSize * kSize, 0)};
  enum : std::uint8_t { kClear = 0, kEdge = 1, kRed = 2, kWhite = 3, kShade = 4 };
  icon.palette[kEdge] = 0xFF7A1010;
  icon.palette[kRed] = 0xFFD42A2A;
  icon.palette[kWhite] = 0xFFFFFFFF;
  icon.palette[kShade] = 0xFFA81E1E;
  const auto inside_rounded = [](int x, int y, int lo, int hi, int radius) {
    if (x < lo || x > hi || y < lo || y > hi) return false;
    const int cx = x < lo + radius ? lo + radius : (x > hi - radius ? hi - radius : x);
    const int cy = y < lo + radius ? lo + radius : (y > hi - radius ? hi - radius : y);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
  };
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      std::uint8_t pixel = kClear;
      if (inside_rounded(x, y, 1, 30, 6)) pixel = kEdge;
      if (inside_rounded(x, y, 2, 29, 5)) pixel = y > 24 ? kShade : kRed;
      const bool top_bar = y >= 7 && y <= 9 && x >= 7 && x <= 24;
      const bool middle_bar = y >= 13 && y <= 15 && x >= 7 && x <= 24;
      const bool stem = y >= 13 && y <= 25 && x >= 14 && x <= 17;
      if (top_bar || middle_bar || stem) pixel = kWhite;
      icon.pixels[static_cast<std::size_t>(y * kSize + x)] = pixel;
    }
  }
  return icon;
}

}  // namespace morvane
