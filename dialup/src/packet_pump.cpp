#include "dialup/packet_pump.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "dialup/slip_codec.h"

namespace dialup {
namespace {

constexpr std::size_t kQueueLimit = 64 * 1024;

class Pump {
 public:
  Pump(int lineFd, int tunFd, std::size_t maxFrame, PumpCounters& counters)
      : lineFd_(lineFd), tunFd_(tunFd), decoder_(maxFrame), counters_(counters) {
    toLine_.reserve(2 * kQueueLimit);
  }

  bool FromLine(PumpEnd& end) {
    std::uint8_t buffer[65536];
    ssize_t n = read(lineFd_, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    if (n <= 0) {
      // EIO is how a tty reports that the other end hung up.
      end = n == 0 || errno == EIO ? PumpEnd::LineLost : PumpEnd::LineError;
      return false;
    }
    decoder_.Feed(std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)),
                  [&](std::span<const std::uint8_t> frame) { Deliver(frame); });
    counters_.framesDropped = decoder_.DroppedFrames() + rejected_;
    return true;
  }

  bool FromInterface(PumpEnd& end) {
    std::uint8_t packet[65536];
    ssize_t n = read(tunFd_, packet, sizeof packet);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    if (n <= 0) {
      end = PumpEnd::InterfaceError;
      return false;
    }
    slip::AppendFrame(std::span<const std::uint8_t>(packet, static_cast<std::size_t>(n)), toLine_);
    ++counters_.packetsToLine;
    return Flush(end);
  }

  bool Flush(PumpEnd& end) {
    while (sent_ < toLine_.size()) {
      ssize_t n = write(lineFd_, toLine_.data() + sent_, toLine_.size() - sent_);
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) break;
      if (n < 0) {
        end = errno == EIO ? PumpEnd::LineLost : PumpEnd::LineError;
        return false;
      }
      sent_ += static_cast<std::size_t>(n);
    }
    if (sent_ == toLine_.size()) {
      toLine_.clear();
      sent_ = 0;
    }
    return true;
  }

  bool QueueFull() const { return toLine_.size() - sent_ >= kQueueLimit; }
  bool QueueEmpty() const { return toLine_.size() == sent_; }

 private:
  void Deliver(std::span<const std::uint8_t> frame) {
    if (!IsWholeIPv4Packet(frame)) {
      ++rejected_;
      return;
    }
    // A full interface queue drops the packet, as a congested router would.
    if (write(tunFd_, frame.data(), frame.size()) == static_cast<ssize_t>(frame.size()))
      ++counters_.packetsFromLine;
    else
      ++rejected_;
  }

  int lineFd_;
  int tunFd_;
  slip::Decoder decoder_;
  PumpCounters& counters_;
  std::vector<std::uint8_t> toLine_;
  std::size_t sent_ = 0;
  std::uint64_t rejected_ = 0;
};

}  // namespace

bool IsWholeIPv4Packet(std::span<const std::uint8_t> frame) {
  if (frame.size() < 20 || (frame[0] >> 4) != 4 || (frame[0] & 0x0F) < 5) return false;
  std::size_t total = (static_cast<std::size_t>(frame[2]) << 8) | frame[3];
  return total == frame.size() && (frame[0] & 0x0F) * 4u <= total;
}

PumpEnd RunPacketPump(int lineFd, int tunFd, int stopFd, std::size_t maxFrame,
                      PumpCounters* counters) {
  PumpCounters local;
  Pump pump(lineFd, tunFd, maxFrame, counters ? *counters : local);
  PumpEnd end = PumpEnd::Stopped;
  for (;;) {
    pollfd fds[3] = {{stopFd, POLLIN, 0},
                     {lineFd, static_cast<short>(POLLIN | (pump.QueueEmpty() ? 0 : POLLOUT)), 0},
                     {tunFd, static_cast<short>(pump.QueueFull() ? 0 : POLLIN), 0}};
    if (poll(fds, 3, -1) < 0) {
      if (errno == EINTR) continue;
      return PumpEnd::LineError;
    }
    if (fds[0].revents) return PumpEnd::Stopped;
    if (fds[1].revents & POLLIN) {
      if (!pump.FromLine(end)) return end;
    } else if (fds[1].revents & (POLLHUP | POLLERR)) {
      return PumpEnd::LineLost;
    }
    if ((fds[1].revents & POLLOUT) && !pump.Flush(end)) return end;
    if ((fds[2].revents & POLLIN) && !pump.FromInterface(end)) return end;
    if (fds[2].revents & (POLLERR | POLLHUP | POLLNVAL)) return PumpEnd::InterfaceError;
  }
}

}  // namespace dialup
