// Feeds arbitrary bytes to both picture decoders. Any read outside the input is
// caught by the sanitizers; a decoded picture must also be self-consistent.
#include <cstddef>
#include <cstdint>

#include "framework/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (auto decode : {corvane::res::DecodeBmp, corvane::res::DecodeIco}) {
    const auto image = decode(data, size);
    if (image && (image->width <= 0 || image->height <= 0 ||
                  image->pixels.size() != std::size_t(image->width) * std::size_t(image->height)))
      __builtin_trap();
  }
  return 0;
}
