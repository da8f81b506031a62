#include "rgb_image.h"

namespace corvane::ui::fltkws {

std::unique_ptr<Fl_RGB_Image> ToFltkImage(const res::Image& image, bool keepAlpha) {
  const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  if (image.width <= 0 || image.height <= 0 || image.pixels.size() < count) return nullptr;
  const int depth = keepAlpha ? 4 : 3;
  auto* bytes = new uchar[count * depth];
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t argb = image.pixels[i];
    uchar* out = bytes + i * depth;
    out[0] = (argb >> 16) & 0xFF;
    out[1] = (argb >> 8) & 0xFF;
    out[2] = argb & 0xFF;
    if (keepAlpha) out[3] = (argb >> 24) & 0xFF;
  }
  auto fltkImage = std::make_unique<Fl_RGB_Image>(bytes, image.width, image.height, depth);
  fltkImage->alloc_array = 1;  // the image frees the bytes
  return fltkImage;
}

}  // namespace corvane::ui::fltkws
