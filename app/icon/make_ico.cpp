// Writes icon 128 as a Windows .ico file: 32 x 32 and 16 x 16 images, 32-bit colour with
// alpha and the classic AND mask (set where the picture is transparent).
//   morvane-ico OUTPUT.ico
#include <cstdint>
#include <cstdio>
#include <vector>

#include "icon/program_icon.h"

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// One image: BITMAPINFOHEADER (height doubled for the mask), the colour rows bottom-up, then
// the mask rows, each padded to four bytes.
std::vector<std::uint8_t> Image(const platform::Icon& icon, int size) {
  std::vector<std::uint8_t> out;
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(size));
  Put32(out, static_cast<std::uint32_t>(size * 2));
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);  // BI_RGB
  const int mask_stride = ((size + 31) / 32) * 4;
  Put32(out, static_cast<std::uint32_t>(size * size * 4 + mask_stride * size));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  const auto argb = [&](int x, int y) {
    return icon.Argb(x * icon.width / size, y * icon.height / size);
  };
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      const std::uint32_t c = argb(x, y);
      out.push_back(static_cast<std::uint8_t>(c));
      out.push_back(static_cast<std::uint8_t>(c >> 8));
      out.push_back(static_cast<std::uint8_t>(c >> 16));
      out.push_back(static_cast<std::uint8_t>(c >> 24));
    }
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(mask_stride), 0);
    for (int x = 0; x < size; ++x) {
      if ((argb(x, y) >> 24) == 0) row[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.ico\n", argv[0]);
    return 2;
  }
  const platform::Icon icon = morvane::ProgramIcon();
  const int sizes[] = {32, 16};
  std::vector<std::vector<std::uint8_t>> images;
  for (int size : sizes) images.push_back(Image(icon, size));
  std::vector<std::uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);  // icon
  Put16(file, static_cast<unsigned>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    file.push_back(static_cast<std::uint8_t>(sizes[i]));
    file.push_back(static_cast<std::uint8_t>(sizes[i]));
    file.push_back(0);  // no palette
    file.push_back(0);
    Put16(file, 1);   // planes
    Put16(file, 32);  // bits per pixel
    Put32(file, static_cast<std::uint32_t>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  if (std::fclose(out) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
