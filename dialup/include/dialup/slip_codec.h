// SLIP framing (RFC 1055): IP packets on a byte stream.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace dialup::slip {

constexpr std::uint8_t kEnd = 0xC0;
constexpr std::uint8_t kEsc = 0xDB;
constexpr std::uint8_t kEscEnd = 0xDC;
constexpr std::uint8_t kEscEsc = 0xDD;

// Appends one framed packet to `out`. The frame starts with END too, so any
// line noise the peer has collected is flushed as an (ignored) frame of its own.
void AppendFrame(std::span<const std::uint8_t> packet, std::vector<std::uint8_t>& out);

// Turns a byte stream back into packets. A line carries no checksum, so the
// decoder only promises to resynchronise: a frame that is too long or holds
// an escape that means nothing is dropped, and decoding starts again after
// the next END.
class Decoder {
 public:
  explicit Decoder(std::size_t maxFrame) : maxFrame_(maxFrame) { frame_.reserve(maxFrame); }

  // Calls onFrame(std::span<const std::uint8_t>) once per complete frame.
  template <class OnFrame>
  void Feed(std::span<const std::uint8_t> bytes, OnFrame&& onFrame) {
    for (std::uint8_t byte : bytes) {
      if (Step(byte)) {
        onFrame(std::span<const std::uint8_t>(frame_));
        frame_.clear();
      }
    }
  }

  std::size_t DroppedFrames() const { return dropped_; }

 private:
  enum class Mode { Data, Escaped, Discarding };
  // Consumes one byte; true when it completed a non-empty frame.
  bool Step(std::uint8_t byte);
  void Drop();
  void Append(std::uint8_t byte);

  std::size_t maxFrame_;
  std::vector<std::uint8_t> frame_;
  Mode mode_ = Mode::Data;
  std::size_t dropped_ = 0;
};

}  // namespace dialup::slip
