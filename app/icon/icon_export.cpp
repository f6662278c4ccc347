// Writes icon 128 as PNG files for the desktop's icon theme: one file per size, scaled from
// the 32 x 32 picture pixel by pixel. Used at build time only.
//   morvane-icon-export OUTPUT_DIR SIZE...
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "icon/program_icon.h"

namespace {

bool WritePng(const std::string& path, const platform::Icon& icon, int size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(size), static_cast<png_uint_32>(size), 8,
               PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<std::size_t>(size) * 4);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const std::uint32_t argb = icon.Argb(x * icon.width / size, y * icon.height / size);
      png_byte* pixel = &row[static_cast<std::size_t>(x) * 4];
      pixel[0] = static_cast<png_byte>(argb >> 16);
      pixel[1] = static_cast<png_byte>(argb >> 8);
      pixel[2] = static_cast<png_byte>(argb);
      pixel[3] = static_cast<png_byte>(argb >> 24);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR SIZE...\n", argv[0]);
    return 2;
  }
  const platform::Icon icon = morvane::ProgramIcon();
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    const std::string path = std::string(argv[1]) + "/morvane-" + argv[i] + ".png";
    if (size <= 0 || !WritePng(path, icon, size)) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
      return 1;
    }
  }
  return 0;
}
