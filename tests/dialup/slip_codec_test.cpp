#include "dialup/slip_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using dialup::slip::Decoder;

struct DecodeCase {
  const char* name;
  Bytes stream;
  std::size_t maxFrame;
  std::vector<Bytes> frames;
  std::size_t dropped;
};

std::vector<Bytes> DecodeWhole(const DecodeCase& c, std::size_t* dropped) {
  Decoder decoder(c.maxFrame);
  std::vector<Bytes> frames;
  decoder.Feed(c.stream, [&](auto f) { frames.emplace_back(f.begin(), f.end()); });
  *dropped = decoder.DroppedFrames();
  return frames;
}

// The same stream one byte at a time: frames must not depend on how reads
// happen to cut the line's bytes.
std::vector<Bytes> DecodeBytewise(const DecodeCase& c) {
  Decoder decoder(c.maxFrame);
  std::vector<Bytes> frames;
  for (std::uint8_t b : c.stream)
    decoder.Feed(std::span(&b, 1), [&](auto f) { frames.emplace_back(f.begin(), f.end()); });
  return frames;
}

TEST(SlipDecoder, TableOfStreams) {
  const std::vector<DecodeCase> cases = {
      {"plain frame", {0xC0, 1, 2, 3, 0xC0}, 1006, {{1, 2, 3}}, 0},
      {"no leading END", {1, 2, 0xC0}, 1006, {{1, 2}}, 0},
      {"escaped END and ESC", {0xC0, 0xDB, 0xDC, 7, 0xDB, 0xDD, 0xC0}, 1006, {{0xC0, 7, 0xDB}}, 0},
      {"empty frames between ENDs are ignored", {0xC0, 0xC0, 0xC0, 9, 0xC0, 0xC0}, 1006, {{9}}, 0},
      {"two frames back to back", {0xC0, 1, 0xC0, 0xC0, 2, 0xC0}, 1006, {{1}, {2}}, 0},
      {"unfinished frame is held back", {0xC0, 1, 2}, 1006, {}, 0},
      {"ESC right before END drops the frame", {1, 0xDB, 0xC0, 2, 0xC0}, 1006, {{2}}, 1},
      {"ESC followed by a plain byte drops up to the next END",
       {1, 0xDB, 5, 6, 0xC0, 7, 0xC0}, 1006, {{7}}, 1},
      {"ESC ESC is not an escape of an escape", {0xDB, 0xDB, 0xDD, 0xC0, 8, 0xC0}, 1006, {{8}}, 1},
      {"frame of exactly the limit passes", {1, 2, 3, 4, 0xC0}, 4, {{1, 2, 3, 4}}, 0},
      {"oversized frame dropped, next one kept", {1, 2, 3, 4, 5, 6, 0xC0, 8, 0xC0}, 4, {{8}}, 1},
      {"escaped byte counts against the limit", {1, 2, 3, 4, 0xDB, 0xDC, 0xC0, 8, 0xC0}, 4, {{8}}, 1},
      {"noise bytes form a frame of their own", {0x55, 0xAA, 0xC0, 0xC0, 3, 0xC0}, 1006,
       {{0x55, 0xAA}, {3}}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::size_t dropped = 0;
    EXPECT_EQ(DecodeWhole(c, &dropped), c.frames);
    EXPECT_EQ(dropped, c.dropped);
    EXPECT_EQ(DecodeBytewise(c), c.frames);
  }
}

TEST(SlipEncoder, FramesEveryByteValueAndDecodesBack) {
  Bytes packet;
  for (int i = 0; i < 256; ++i) packet.push_back(static_cast<std::uint8_t>(i));
  Bytes line;
  dialup::slip::AppendFrame(packet, line);
  ASSERT_EQ(line.front(), 0xC0);
  ASSERT_EQ(line.back(), 0xC0);
  for (std::size_t i = 1; i + 1 < line.size(); ++i) EXPECT_NE(line[i], 0xC0) << "at " << i;
  EXPECT_EQ(line.size(), 256u + 2 + 2);  // two escapes, two ENDs

  dialup::slip::AppendFrame(Bytes{0xDB}, line);
  Decoder decoder(1006);
  std::vector<Bytes> frames;
  decoder.Feed(line, [&](auto f) { frames.emplace_back(f.begin(), f.end()); });
  EXPECT_EQ(frames, (std::vector<Bytes>{packet, {0xDB}}));
}

TEST(SlipEncoder, EmptyPacketIsOnlyEnds) {
  Bytes line;
  dialup::slip::AppendFrame({}, line);
  EXPECT_EQ(line, (Bytes{0xC0, 0xC0}));
}

}  // namespace
