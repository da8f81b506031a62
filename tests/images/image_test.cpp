// The picture decoders: the product logo files as shipped, small pictures
// built byte by byte for each depth and layout, and damaged files that must be
// refused without reading outside the bytes (this binary runs under ASan).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "framework/image.h"

namespace corvane::res {
namespace {

using ByteVector = std::vector<unsigned char>;

ByteVector ReadResource(const std::string& name) {
  std::ifstream in(std::string(CORVANE_RES_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in) << "cannot open " << name;
  return ByteVector(std::istreambuf_iterator<char>(in), {});
}

std::optional<Image> Bmp(const ByteVector& b) { return DecodeBmp(b.data(), b.size()); }
std::optional<Image> Ico(const ByteVector& b) { return DecodeIco(b.data(), b.size()); }

std::uint32_t At(const Image& image, int x, int y) { return image.pixels.at(std::size_t(y) * image.width + x); }

// Opaque and each channel within tolerance of the expected colour.
::testing::AssertionResult Near(std::uint32_t actual, std::uint32_t expected, int tolerance = 24) {
  if (actual >> 24 != 0xFF) return ::testing::AssertionFailure() << std::hex << actual << " is not opaque";
  for (int shift : {16, 8, 0}) {
    const int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
    if (std::abs(a - e) > tolerance)
      return ::testing::AssertionFailure() << std::hex << actual << " is not near " << expected;
  }
  return ::testing::AssertionSuccess();
}

void Put16(ByteVector& b, std::size_t at, std::uint16_t v) {
  b.at(at) = v & 0xFF;
  b.at(at + 1) = v >> 8;
}
void Put32(ByteVector& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(at + i) = (v >> (8 * i)) & 0xFF;
}
void Append32(ByteVector& b, std::uint32_t v) {
  b.resize(b.size() + 4);
  Put32(b, b.size() - 4, v);
}

// --- The shipped logo ---------------------------------------------------------------------

TEST(LogoIcon, Is32By32WithTransparentCornersAndTheDrawnColours) {
  const auto icon = Ico(ReadResource("logo.ico"));
  ASSERT_TRUE(icon);
  ASSERT_EQ(icon->width, 32);
  ASSERT_EQ(icon->height, 32);
  ASSERT_EQ(icon->pixels.size(), 32u * 32u);
  for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}, {10, 15}})
    EXPECT_EQ(At(*icon, x, y) >> 24, 0u) << "(" << x << ", " << y << ") should be transparent";

  EXPECT_EQ(At(*icon, 2, 16), 0xFF000080u);   // outline of the C, navy
  EXPECT_EQ(At(*icon, 3, 16), 0xFF0000FFu);   // body of the C, blue
  EXPECT_EQ(At(*icon, 14, 15), 0xFFFF0000u);  // the node, red
  EXPECT_EQ(At(*icon, 29, 15), 0xFF008080u);  // outer signal arc, teal
  // The glint is on the upper left only: a picture turned upside down fails here.
  EXPECT_EQ(At(*icon, 7, 7), 0xFFFFFFFFu);
  EXPECT_EQ(At(*icon, 7, 24), 0xFF0000FFu);
}

TEST(LogoBitmap, Is55By35OnTheDialogFaceWithTheDrawnColours) {
  const auto bitmap = Bmp(ReadResource("logo.bmp"));
  ASSERT_TRUE(bitmap);
  ASSERT_EQ(bitmap->width, 55);
  ASSERT_EQ(bitmap->height, 35);
  ASSERT_EQ(bitmap->pixels.size(), 55u * 35u);
  for (auto [x, y] : {std::pair{0, 0}, {54, 0}, {0, 34}, {54, 34}}) EXPECT_EQ(At(*bitmap, x, y), 0xFFC0C0C0u);

  EXPECT_TRUE(Near(At(*bitmap, 25, 17), 0xE02020));  // node
  EXPECT_TRUE(Near(At(*bitmap, 12, 17), 0x2754B9));  // left of the C
  EXPECT_TRUE(Near(At(*bitmap, 43, 17), 0x008C8C));  // outer signal arc
  EXPECT_TRUE(Near(At(*bitmap, 17, 7), 0xE8EFFD));   // glint, upper left
  EXPECT_TRUE(Near(At(*bitmap, 17, 27), 0x1B3C9B));  // its mirror place: the darker lower C
}

// --- Small pictures built byte by byte --------------------------------------------------

// A BMP file: rows given in storage order, each padded here to 4 bytes.
ByteVector BuildBmp(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
                    std::uint32_t coloursUsed, const std::vector<ByteVector>& storedRows) {
  ByteVector dib;
  for (std::uint32_t v : {40u, std::uint32_t(width), std::uint32_t(height)}) Append32(dib, v);
  dib.resize(dib.size() + 4);
  Put16(dib, 12, 1);
  Put16(dib, 14, bits);
  for (std::uint32_t v : {0u, 0u, 0u, 0u, coloursUsed, 0u}) Append32(dib, v);
  for (std::uint32_t rgb : palette) Append32(dib, rgb);  // little-endian 0x00RRGGBB is B, G, R, 0
  for (ByteVector row : storedRows) {
    row.resize((row.size() + 3) / 4 * 4);
    dib.insert(dib.end(), row.begin(), row.end());
  }
  ByteVector file = {'B', 'M'};
  file.resize(14);
  Put32(file, 2, 14 + dib.size());
  Put32(file, 10, 14 + 40 + 4 * palette.size());
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

struct DepthCase {
  const char* name;
  int bits;
  std::vector<std::uint32_t> palette;
  std::uint32_t coloursUsed;
  std::vector<ByteVector> bottomUpRows;  // 3 x 2 pixels
  std::vector<std::uint32_t> expectedTopFirst;
};

TEST(DecodeBmp, EveryDepthBottomUpAndTopDown) {
  const std::uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, W = 0xFFFFFFFF, K = 0xFF000000;
  const std::vector<DepthCase> cases = {
      {"1 bit", 1, {0x000000, 0xFFFFFF}, 0, {{0b10100000}, {0b01000000}}, {K, W, K, W, K, W}},
      // Only three palette entries stored: the bits start right after them.
      {"4 bits, 3 colours", 4, {0xFF0000, 0x00FF00, 0x0000FF}, 3, {{0x01, 0x20}, {0x22, 0x10}}, {B, B, G, R, G, B}},
      {"8 bits, 3 colours", 8, {0xFF0000, 0x00FF00, 0x0000FF}, 3, {{2, 1, 0}, {0, 1, 2}}, {R, G, B, B, G, R}},
      {"24 bits", 24, {}, 0, {{0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0}, {0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0xFF}},
       {W, K, R, R, G, B}},
      // The fourth byte is reserved: the pixel stays opaque whatever it holds.
      {"32 bits", 32, {}, 0, {{0xFF, 0, 0, 0, 0, 0xFF, 0, 0x12, 0, 0, 0xFF, 0x80}, {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0xFF, 0}},
       {K, W, R, B, G, R}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bottomUp = Bmp(BuildBmp(3, 2, c.bits, c.palette, c.coloursUsed, c.bottomUpRows));
    ASSERT_TRUE(bottomUp);
    EXPECT_EQ(bottomUp->width, 3);
    EXPECT_EQ(bottomUp->height, 2);
    EXPECT_EQ(bottomUp->pixels, c.expectedTopFirst);

    const std::vector<ByteVector> topFirstRows = {c.bottomUpRows[1], c.bottomUpRows[0]};
    const auto topDown = Bmp(BuildBmp(3, -2, c.bits, c.palette, c.coloursUsed, topFirstRows));
    ASSERT_TRUE(topDown);
    EXPECT_EQ(topDown->height, 2);
    EXPECT_EQ(topDown->pixels, c.expectedTopFirst);
  }
}

// An icon file with one or more DIB images of the given depth; each image's
// colour bits and mask are given bottom-up and padded here.
struct IconImage {
  int size;
  int bits;
  std::vector<std::uint32_t> palette;
  std::vector<ByteVector> colourRows;
  std::vector<ByteVector> maskRows;
};

ByteVector BuildIco(const std::vector<IconImage>& images) {
  std::vector<ByteVector> dibs;
  for (const auto& image : images) {
    ByteVector dib;
    for (std::uint32_t v : {40u, std::uint32_t(image.size), std::uint32_t(image.size * 2)}) Append32(dib, v);
    dib.resize(dib.size() + 4);
    Put16(dib, 12, 1);
    Put16(dib, 14, image.bits);
    for (int i = 0; i < 6; ++i) Append32(dib, 0);
    Put32(dib, 32, image.palette.size());  // colours used
    for (std::uint32_t rgb : image.palette) Append32(dib, rgb);
    for (const auto* rows : {&image.colourRows, &image.maskRows})
      for (ByteVector row : *rows) {
        row.resize((row.size() + 3) / 4 * 4);
        dib.insert(dib.end(), row.begin(), row.end());
      }
    dibs.push_back(dib);
  }
  ByteVector file(6 + 16 * images.size());
  Put16(file, 2, 1);
  Put16(file, 4, images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const std::size_t entry = 6 + 16 * i;
    file[entry] = file[entry + 1] = images[i].size;
    Put16(file, entry + 4, 1);
    Put16(file, entry + 6, images[i].bits);
    Put32(file, entry + 8, dibs[i].size());
    Put32(file, entry + 12, file.size());
    file.insert(file.end(), dibs[i].begin(), dibs[i].end());
  }
  return file;
}

TEST(DecodeIco, TheAndMaskMakesPixelsTransparent) {
  // 2 x 2 at 4 bits: bottom row indices 1, 2; top row 3, 3. Mask: top left shows through.
  const auto icon = Ico(BuildIco({{2, 4, {0, 0xFF0000, 0x00FF00, 0x0000FF}, {{0x12}, {0x33}}, {{0x00}, {0x80}}}}));
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->pixels, (std::vector<std::uint32_t>{0x000000FF, 0xFF0000FF, 0xFFFF0000, 0xFF00FF00}));
}

TEST(DecodeIco, ThirtyTwoBitAlphaWinsOverTheMaskUnlessAllZero) {
  const ByteVector bottom = {0x10, 0x20, 0x30, 0x40, 0, 0, 0xFF, 0xFF};
  const ByteVector top = {0, 0, 0, 0, 0xFF, 0, 0, 0x80};
  const auto withAlpha = Ico(BuildIco({{2, 32, {}, {bottom, top}, {{0x40}, {0x40}}}}));
  ASSERT_TRUE(withAlpha);
  EXPECT_EQ(withAlpha->pixels, (std::vector<std::uint32_t>{0x00000000, 0x800000FF, 0x40302010, 0xFFFF0000}));

  const ByteVector bottomNoAlpha = {0x10, 0x20, 0x30, 0, 0, 0, 0xFF, 0};
  const ByteVector topNoAlpha = {0, 0, 0, 0, 0xFF, 0, 0, 0};
  const auto masked = Ico(BuildIco({{2, 32, {}, {bottomNoAlpha, topNoAlpha}, {{0x40}, {0x40}}}}));
  ASSERT_TRUE(masked);
  EXPECT_EQ(masked->pixels, (std::vector<std::uint32_t>{0xFF000000, 0x000000FF, 0xFF302010, 0x00FF0000}));
}

TEST(DecodeIco, OnlyTheFirstImageIsDecoded) {
  const IconImage small = {2, 24, {}, {{0, 0, 0xFF, 0, 0, 0xFF}, {0, 0, 0xFF, 0, 0, 0xFF}}, {{0}, {0}}};
  const IconImage large = {4, 1, {0, 0xFFFFFF}, {{0}, {0}, {0}, {0}}, {{0}, {0}, {0}, {0}}};
  const auto icon = Ico(BuildIco({small, large}));
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->width, 2);
  EXPECT_EQ(icon->pixels, std::vector<std::uint32_t>(4, 0xFFFF0000));
}

// --- Damaged input ----------------------------------------------------------------------

TEST(DamagedPictures, EveryTruncationOfTheLogoFilesIsRefused) {
  const ByteVector bmp = ReadResource("logo.bmp"), ico = ReadResource("logo.ico");
  for (std::size_t n = 0; n < bmp.size(); ++n)
    ASSERT_FALSE(DecodeBmp(bmp.data(), n)) << "bmp cut to " << n << " bytes";
  for (std::size_t n = 0; n < ico.size(); ++n)
    ASSERT_FALSE(DecodeIco(ico.data(), n)) << "ico cut to " << n << " bytes";
  EXPECT_FALSE(DecodeBmp(nullptr, 100));
  EXPECT_FALSE(DecodeIco(nullptr, 100));
}

struct Damage {
  const char* name;
  std::function<void(ByteVector&)> apply;
};

// Offsets in logo.bmp: file header 0, info header 14, palette 54, bits at 1078.
// In logo.ico: directory 0, entry 6 (size at 14, offset at 18), DIB 22.
TEST(DamagedPictures, BadBmpHeadersAreRefused) {
  const std::vector<Damage> damages = {
      {"not BM", [](ByteVector& b) { b[1] = 'A'; }},
      {"bits offset past the end", [](ByteVector& b) { Put32(b, 10, b.size()); }},
      {"bits offset near 4 GiB", [](ByteVector& b) { Put32(b, 10, 0xFFFFFFF0); }},
      {"bits offset inside the palette", [](ByteVector& b) { Put32(b, 10, 60); }},
      {"header size past the end", [](ByteVector& b) { Put32(b, 14, 0xFFFFFFFF); }},
      {"core header", [](ByteVector& b) { Put32(b, 14, 12); }},
      {"zero width", [](ByteVector& b) { Put32(b, 18, 0); }},
      {"negative width", [](ByteVector& b) { Put32(b, 18, 0xFFFFFFF0); }},
      {"huge width", [](ByteVector& b) { Put32(b, 18, 0x7FFFFFFF); }},
      {"zero height", [](ByteVector& b) { Put32(b, 22, 0); }},
      {"huge height", [](ByteVector& b) { Put32(b, 22, 0x7FFFFFFF); }},
      {"most negative height", [](ByteVector& b) { Put32(b, 22, 0x80000000); }},
      {"two planes", [](ByteVector& b) { Put16(b, 26, 2); }},
      {"16 bits", [](ByteVector& b) { Put16(b, 28, 16); }},
      {"0 bits", [](ByteVector& b) { Put16(b, 28, 0); }},
      {"run-length compressed", [](ByteVector& b) { Put32(b, 30, 1); }},
      {"more colours than 8 bits hold", [](ByteVector& b) { Put32(b, 46, 257); }},
      {"colour count near 4 G", [](ByteVector& b) { Put32(b, 46, 0xFFFFFFFF); }},
      {"pixel index past a shortened palette", [](ByteVector& b) {
         Put32(b, 46, 1);  // the logo uses far more than colour 0
       }},
  };
  const ByteVector logo = ReadResource("logo.bmp");
  ASSERT_TRUE(Bmp(logo));
  for (const auto& damage : damages) {
    ByteVector bytes = logo;
    damage.apply(bytes);
    EXPECT_FALSE(Bmp(bytes)) << damage.name;
  }
}

TEST(DamagedPictures, BadIconDirectoriesAndImagesAreRefused) {
  const std::vector<Damage> damages = {
      {"reserved word set", [](ByteVector& b) { Put16(b, 0, 1); }},
      {"cursor, not icon", [](ByteVector& b) { Put16(b, 2, 2); }},
      {"no images", [](ByteVector& b) { Put16(b, 4, 0); }},
      {"directory longer than the file", [](ByteVector& b) { Put16(b, 4, 0xFFFF); }},
      {"image longer than the file", [](ByteVector& b) { Put32(b, 14, 0x10000); }},
      {"image offset past the end", [](ByteVector& b) { Put32(b, 18, b.size()); }},
      {"offset plus length wraps", [](ByteVector& b) {
         Put32(b, 18, 0xFFFFFFF0);
         Put32(b, 14, 0x20);
       }},
      {"image inside the directory", [](ByteVector& b) { Put32(b, 18, 2); }},
      {"no room for the mask", [](ByteVector& b) { Put32(b, 14, 40 + 64 + 512); }},
      {"odd doubled height", [](ByteVector& b) { Put32(b, 22 + 8, 63); }},
      {"top-down image", [](ByteVector& b) { Put32(b, 22 + 8, std::uint32_t(-64)); }},
      {"huge width", [](ByteVector& b) { Put32(b, 22 + 4, 0x40000000); }},
      {"PNG entry", [](ByteVector& b) {
         const unsigned char png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
         std::copy(std::begin(png), std::end(png), b.begin() + 22);
       }},
  };
  const ByteVector logo = ReadResource("logo.ico");
  ASSERT_TRUE(Ico(logo));
  for (const auto& damage : damages) {
    ByteVector bytes = logo;
    damage.apply(bytes);
    EXPECT_FALSE(Ico(bytes)) << damage.name;
  }
}

TEST(DamagedPictures, PicturesOverThePixelBudgetAreRefusedEvenWithAllTheirBits) {
  // 8192 x 4096 at one bit is 4 MiB of file but 128 MiB of decoded pixels.
  const std::vector<ByteVector> rows(4096, ByteVector(8192 / 8));
  EXPECT_FALSE(Bmp(BuildBmp(8192, 4096, 1, {0, 0xFFFFFF}, 0, rows)));
  const std::vector<ByteVector> fewerRows(2048, ByteVector(8192 / 8));
  EXPECT_TRUE(Bmp(BuildBmp(8192, 2048, 1, {0, 0xFFFFFF}, 0, fewerRows)));
}

}  // namespace
}  // namespace corvane::res
