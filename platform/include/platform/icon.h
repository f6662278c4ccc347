// An icon as a program draws it: palette indexes, index 0 transparent where the palette
// entry's alpha is 0. The program registers it as icon resource (the core shows it); the
// Windows build writes it into the executable as a .ico file.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

struct Icon {
  int id;
  int width;
  int height;
  std::vector<std::uint32_t> palette;  // 0xAARRGGBB, at most 256 colours
  std::vector<std::uint8_t> pixels;    // width * height palette indexes, row by row
  // The pixel at (x, y) as 0xAARRGGBB.
  std::uint32_t Argb(int x, int y) const { return palette.at(pixels.at(y * width + x)); }
};

}  // namespace platform
