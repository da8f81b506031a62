#include "png_file.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace corvane::docs {

bool WritePng(const std::filesystem::path& file, const RgbPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgb.size() < static_cast<std::size_t>(picture.width) * picture.height * 3)
    return false;
  std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(file.c_str(), "wb"), &std::fclose);
  if (!out) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {  // libpng reports its errors by longjmp
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, out.get());
  png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < picture.height; ++y)
    png_write_row(png, picture.rgb.data() + static_cast<std::size_t>(y) * picture.width * 3);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace corvane::docs
