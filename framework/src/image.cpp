// Decoding of Windows .bmp and .ico pictures into 0xAARRGGBB pixels.
//
// The bytes may come from any file, so they are treated as untrusted: every
// offset and length is checked against the bytes given before it is used, all
// arithmetic on sizes is done in 64 bits, and anything that is not a plain
// uncompressed DIB of a supported depth gives nullopt.
#include "framework/image.h"

#include <array>
#include <cstring>
#include <span>

namespace corvane::res {
namespace {

using Bytes = std::span<const unsigned char>;

// Larger pictures than this are refused before anything is allocated: a few
// bytes of a 1-bit file could otherwise ask for gigabytes of pixels.
constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 24;

constexpr std::uint32_t kBiRgb = 0;  // uncompressed
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kIconDirSize = 6;
constexpr std::size_t kIconEntrySize = 16;
constexpr std::array<unsigned char, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool Has(Bytes bytes, std::uint64_t offset, std::uint64_t count) {
  return offset <= bytes.size() && count <= bytes.size() - offset;
}

// Callers check Has() first; these only assemble little-endian values.
std::uint16_t U16(Bytes b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }
std::uint32_t U32(Bytes b, std::size_t at) {
  return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
         std::uint32_t{b[at + 3]} << 24;
}
std::int32_t I32(Bytes b, std::size_t at) { return static_cast<std::int32_t>(U32(b, at)); }

std::uint32_t Argb(unsigned a, unsigned r, unsigned g, unsigned b) {
  return std::uint32_t{a} << 24 | std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b;
}

// What a BITMAPINFOHEADER (or a later, longer header) says about the pixels.
struct DibLayout {
  int width = 0;
  int height = 0;  // rows of the picture, already halved for an icon's XOR + AND pair
  bool topDown = false;
  int bits = 0;
  std::size_t headerSize = 0;
  std::size_t tableEntries = 0;  // RGBQUADs that follow the header
};

std::optional<std::uint32_t> PaletteEntries(int bits, std::uint32_t coloursUsed) {
  if (bits > 8) return coloursUsed;  // an optional table, not used for lookup
  const std::uint32_t most = 1u << bits;
  if (coloursUsed == 0) return most;
  if (coloursUsed > most) return std::nullopt;
  return coloursUsed;
}

std::optional<int> RowCount(std::int32_t stored, bool heightDoubled, bool& topDown) {
  std::int64_t rows = stored;
  topDown = rows < 0;
  if (topDown) {
    if (heightDoubled) return std::nullopt;  // icon images are always stored bottom-up
    rows = -rows;
  }
  if (heightDoubled) {
    if (rows % 2 != 0) return std::nullopt;
    rows /= 2;
  }
  if (rows <= 0 || rows > kMaxSide) return std::nullopt;
  return static_cast<int>(rows);
}

std::optional<DibLayout> ParseDibHeader(Bytes dib, bool heightDoubled) {
  if (!Has(dib, 0, kInfoHeaderSize)) return std::nullopt;
  DibLayout layout;
  const std::uint32_t headerSize = U32(dib, 0);
  if (headerSize < kInfoHeaderSize || !Has(dib, 0, headerSize)) return std::nullopt;
  layout.headerSize = headerSize;

  const std::int32_t width = I32(dib, 4);
  if (width <= 0 || width > kMaxSide) return std::nullopt;
  layout.width = width;
  const auto rows = RowCount(I32(dib, 8), heightDoubled, layout.topDown);
  if (!rows || std::int64_t{layout.width} * *rows > kMaxPixels) return std::nullopt;
  layout.height = *rows;

  layout.bits = U16(dib, 14);
  const bool supportedDepth =
      layout.bits == 1 || layout.bits == 4 || layout.bits == 8 || layout.bits == 24 || layout.bits == 32;
  if (U16(dib, 12) != 1 || !supportedDepth || U32(dib, 16) != kBiRgb) return std::nullopt;

  const auto entries = PaletteEntries(layout.bits, U32(dib, 32));
  if (!entries || !Has(dib, layout.headerSize, std::uint64_t{*entries} * 4)) return std::nullopt;
  layout.tableEntries = *entries;
  return layout;
}

std::vector<std::uint32_t> ReadPalette(Bytes dib, const DibLayout& layout) {
  std::vector<std::uint32_t> palette;
  if (layout.bits > 8) return palette;
  palette.reserve(layout.tableEntries);
  for (std::size_t i = 0; i < layout.tableEntries; ++i) {
    const std::size_t at = layout.headerSize + i * 4;  // checked by ParseDibHeader
    palette.push_back(Argb(0xFF, dib[at + 2], dib[at + 1], dib[at]));
  }
  return palette;
}

std::uint64_t RowStride(int width, int bits) { return (std::uint64_t(width) * bits + 31) / 32 * 4; }

std::uint64_t PixelBytes(const DibLayout& layout) { return RowStride(layout.width, layout.bits) * layout.height; }

// One row of stored pixels to colours; false on a palette index past the palette.
bool DecodeRow(const unsigned char* row, const DibLayout& layout, const std::vector<std::uint32_t>& palette,
               std::uint32_t* out) {
  for (int x = 0; x < layout.width; ++x) {
    switch (layout.bits) {
      case 24: {
        const unsigned char* p = row + x * 3;
        out[x] = Argb(0xFF, p[2], p[1], p[0]);
        break;
      }
      case 32: {
        const unsigned char* p = row + x * 4;
        out[x] = Argb(p[3], p[2], p[1], p[0]);
        break;
      }
      default: {
        const int perByte = 8 / layout.bits;
        const int shift = 8 - layout.bits * (x % perByte + 1);
        const unsigned index = (row[x / perByte] >> shift) & ((1u << layout.bits) - 1);
        if (index >= palette.size()) return false;
        out[x] = palette[index];
      }
    }
  }
  return true;
}

// The colour bits, which the caller has checked hold PixelBytes(layout) bytes.
std::optional<Image> DecodePixels(Bytes bits, const DibLayout& layout, const std::vector<std::uint32_t>& palette) {
  Image image;
  image.width = layout.width;
  image.height = layout.height;
  image.pixels.resize(std::size_t(layout.width) * layout.height);
  const std::size_t stride = RowStride(layout.width, layout.bits);
  for (int stored = 0; stored < layout.height; ++stored) {
    const int y = layout.topDown ? stored : layout.height - 1 - stored;
    if (!DecodeRow(bits.data() + stride * stored, layout, palette, &image.pixels[std::size_t(y) * layout.width]))
      return std::nullopt;
  }
  return image;
}

bool HasAlphaChannel(const Image& image) {
  for (std::uint32_t p : image.pixels)
    if (p >> 24) return true;
  return false;
}

// Where the AND mask has a 1 the screen shows through. The mask is stored
// bottom-up, one bit per pixel, rows padded to 4 bytes.
void ApplyAndMask(Bytes mask, Image& image) {
  const std::size_t stride = RowStride(image.width, 1);
  for (int stored = 0; stored < image.height; ++stored) {
    const unsigned char* row = mask.data() + stride * stored;
    std::uint32_t* out = &image.pixels[std::size_t(image.height - 1 - stored) * image.width];
    for (int x = 0; x < image.width; ++x) {
      const bool transparent = (row[x / 8] >> (7 - x % 8)) & 1;
      out[x] = (out[x] & 0x00FFFFFF) | (transparent ? 0u : 0xFF000000u);
    }
  }
}

// One icon image: a DIB of doubled height, colour bits then the AND mask.
std::optional<Image> DecodeIconDib(Bytes dib) {
  if (dib.size() >= kPngSignature.size() && std::memcmp(dib.data(), kPngSignature.data(), kPngSignature.size()) == 0)
    return std::nullopt;  // PNG-compressed entries are not decoded here
  const auto layout = ParseDibHeader(dib, /*heightDoubled=*/true);
  if (!layout) return std::nullopt;
  const std::uint64_t bitsAt = layout->headerSize + layout->tableEntries * 4;
  const std::uint64_t colourBytes = PixelBytes(*layout);
  if (!Has(dib, bitsAt, colourBytes)) return std::nullopt;
  auto image = DecodePixels(dib.subspan(bitsAt, colourBytes), *layout, ReadPalette(dib, *layout));
  if (!image) return std::nullopt;

  // A 32-bit image with any alpha carries its own transparency; every other
  // image gets it from the mask.
  if (layout->bits == 32 && HasAlphaChannel(*image)) return image;
  const std::uint64_t maskAt = bitsAt + colourBytes;
  const std::uint64_t maskBytes = RowStride(layout->width, 1) * layout->height;
  if (!Has(dib, maskAt, maskBytes)) return std::nullopt;
  ApplyAndMask(dib.subspan(maskAt, maskBytes), *image);
  return image;
}

}  // namespace

std::optional<Image> DecodeBmp(const unsigned char* bytes, std::size_t size) {
  if (bytes == nullptr) return std::nullopt;
  const Bytes file(bytes, size);
  if (!Has(file, 0, kFileHeaderSize) || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const Bytes dib = file.subspan(kFileHeaderSize);
  const auto layout = ParseDibHeader(dib, /*heightDoubled=*/false);
  if (!layout) return std::nullopt;

  // The pixels may sit anywhere after the colour table, but not over it.
  const std::uint64_t bitsAt = U32(file, 10);
  const std::uint64_t tableEnd = kFileHeaderSize + layout->headerSize + layout->tableEntries * 4;
  const std::uint64_t pixelBytes = PixelBytes(*layout);
  if (bitsAt < tableEnd || !Has(file, bitsAt, pixelBytes)) return std::nullopt;
  auto image = DecodePixels(file.subspan(bitsAt, pixelBytes), *layout, ReadPalette(dib, *layout));
  // The fourth byte of an uncompressed 32-bit pixel is reserved, not alpha.
  if (image && layout->bits == 32)
    for (std::uint32_t& p : image->pixels) p |= 0xFF000000u;
  return image;
}

std::optional<Image> DecodeIco(const unsigned char* bytes, std::size_t size) {
  if (bytes == nullptr) return std::nullopt;
  const Bytes file(bytes, size);
  if (!Has(file, 0, kIconDirSize) || U16(file, 0) != 0 || U16(file, 2) != 1) return std::nullopt;
  const std::uint16_t count = U16(file, 4);
  const std::uint64_t directoryEnd = kIconDirSize + std::uint64_t{count} * kIconEntrySize;
  if (count == 0 || !Has(file, 0, directoryEnd)) return std::nullopt;

  const std::uint64_t imageBytes = U32(file, kIconDirSize + 8);
  const std::uint64_t imageAt = U32(file, kIconDirSize + 12);
  if (imageAt < directoryEnd || !Has(file, imageAt, imageBytes)) return std::nullopt;
  return DecodeIconDib(file.subspan(imageAt, imageBytes));
}

}  // namespace corvane::res
