#include "dialup/slip_codec.h"

namespace dialup::slip {

void AppendFrame(std::span<const std::uint8_t> packet, std::vector<std::uint8_t>& out) {
  out.push_back(kEnd);
  for (std::uint8_t byte : packet) {
    if (byte == kEnd) {
      out.push_back(kEsc);
      out.push_back(kEscEnd);
    } else if (byte == kEsc) {
      out.push_back(kEsc);
      out.push_back(kEscEsc);
    } else {
      out.push_back(byte);
    }
  }
  out.push_back(kEnd);
}

void Decoder::Drop() {
  frame_.clear();
  mode_ = Mode::Discarding;
  ++dropped_;
}

void Decoder::Append(std::uint8_t byte) {
  if (frame_.size() >= maxFrame_) {
    Drop();
    return;
  }
  frame_.push_back(byte);
  mode_ = Mode::Data;
}

bool Decoder::Step(std::uint8_t byte) {
  if (byte == kEnd) {
    // END after a lone ESC: the sender gave up on that frame.
    if (mode_ == Mode::Escaped) ++dropped_;
    bool complete = mode_ == Mode::Data && !frame_.empty();
    if (!complete) frame_.clear();
    mode_ = Mode::Data;
    return complete;
  }
  switch (mode_) {
    case Mode::Discarding:
      return false;
    case Mode::Escaped:
      if (byte == kEscEnd) {
        Append(kEnd);
      } else if (byte == kEscEsc) {
        Append(kEsc);
      } else {
        Drop();
      }
      return false;
    case Mode::Data:
      if (byte == kEsc) {
        mode_ = Mode::Escaped;
      } else {
        Append(byte);
      }
      return false;
  }
  return false;
}

}  // namespace dialup::slip
