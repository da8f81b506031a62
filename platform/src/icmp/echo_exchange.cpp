#include "icmp/echo_exchange.h"

#include <linux/errqueue.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "icmp/icmp_status.h"
#include "icmp/icmp_wire.h"

namespace platform::icmp {
namespace {

using Clock = std::chrono::steady_clock;

// Large enough for any IPv4 datagram, so no reply is ever cut short.
constexpr std::size_t kReceiveBufferSize = 65536;

struct Received {
  std::span<const std::uint8_t> bytes;
  sockaddr_in from{};
  std::uint8_t ttl = 0;
  std::uint8_t tos = 0;
  const sock_extended_err* error = nullptr;  // error-queue reads only
  const sockaddr_in* offender = nullptr;
};

class Exchange {
 public:
  Exchange(const EchoSocket& socket, const EchoRequest& request)
      : socket_(socket),
        request_(request),
        buffer_(std::make_unique_for_overwrite<std::uint8_t[]>(kReceiveBufferSize)) {}

  EchoOutcome Run() {
    SetTimeToLive();
    DiscardQueued();
    if (!Send()) return outcome_;
    const Clock::time_point deadline = sentAt_ + request_.timeout;
    while (!answered_) {
      const Clock::duration remaining = deadline - Clock::now();
      if (remaining <= Clock::duration::zero()) break;
      const short events = WaitReadable(remaining);
      if (events & POLLERR) ReadErrorQueue();
      if (!answered_ && (events & POLLIN)) ReadOnePacket();
    }
    return outcome_;
  }

 private:
  void SetTimeToLive() {
    // -1 puts back the route's default, so one call's TTL never leaks into
    // the next call on the same handle.
    const int ttl = request_.ttl ? *request_.ttl : -1;
    setsockopt(socket_.fd, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl);
  }

  // Nothing queued before the send can answer it: late replies to earlier
  // requests, errors about them, and whatever a raw socket gathered before
  // its filter was set. Dropping it now frees the queue for our answer. A
  // pending socket error is reported (and cleared) by a read in its place,
  // so only an empty queue ends the loop; the bound keeps a socket that
  // fills as fast as it drains from holding us.
  void DiscardQueued() {
    constexpr int kMostDiscarded = 4096;
    for (const int flags : {0, int{MSG_ERRQUEUE}}) {
      for (int i = 0; i < kMostDiscarded; ++i) {
        const ssize_t n = recv(socket_.fd, buffer_.get(), kReceiveBufferSize, flags | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
      }
    }
  }

  bool Send() {
    const auto packet = BuildEchoRequest(request_.identifier, request_.sequence, request_.data);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = request_.destination;
    sentAt_ = Clock::now();
    const ssize_t sent = sendto(socket_.fd, packet.data(), packet.size(), 0,
                                reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (sent == static_cast<ssize_t>(packet.size())) return true;
    outcome_.kind = EchoOutcome::Kind::NotSent;
    outcome_.status = sent < 0 ? StatusOfSendFailure(errno) : IP_GENERAL_FAILURE;
    return false;
  }

  short WaitReadable(Clock::duration remaining) {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(remaining).count();
    const timespec wait{static_cast<time_t>(ns / 1'000'000'000),
                        static_cast<long>(ns % 1'000'000'000)};
    pollfd entry{socket_.fd, POLLIN, 0};
    const int ready = ppoll(&entry, 1, &wait, nullptr);
    return ready > 0 ? entry.revents : 0;  // a signal or time-out: the loop re-checks the deadline
  }

  void ReadOnePacket() {
    Received received;
    if (!Receive(0, received)) return;
    if (socket_.kind == SocketKind::Raw) {
      ExamineRawPacket(received);
    } else {
      ExamineDatagramMessage(received);
    }
  }

  void ReadErrorQueue() {
    Received received;
    while (!answered_ && Receive(MSG_ERRQUEUE, received)) ExamineQueuedError(received);
    // An error whose entry never reached the queue (it was full) leaves the
    // socket flagged; clear the flag, or every later wait would return at once.
    int pending = 0;
    socklen_t size = sizeof pending;
    if (!answered_) getsockopt(socket_.fd, SOL_SOCKET, SO_ERROR, &pending, &size);
  }

  bool Receive(int flags, Received& received) {
    alignas(cmsghdr) char control[512];
    iovec io{buffer_.get(), kReceiveBufferSize};
    msghdr message{};
    message.msg_name = &received.from;
    message.msg_namelen = sizeof received.from;
    message.msg_iov = &io;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t length = recvmsg(socket_.fd, &message, flags | MSG_DONTWAIT);
    if (length < 0 || (message.msg_flags & MSG_TRUNC)) return false;
    received.bytes = std::span<const std::uint8_t>(buffer_.get(), static_cast<std::size_t>(length));
    ReadControl(message, received);
    return true;
  }

  void ReadControl(msghdr& message, Received& received) {
    // The error record is copied out because the control buffer dies with Receive.
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
      if (c->cmsg_level != IPPROTO_IP) continue;
      if (c->cmsg_type == IP_TTL) {
        int ttl;
        std::memcpy(&ttl, CMSG_DATA(c), sizeof ttl);
        received.ttl = static_cast<std::uint8_t>(ttl);
      } else if (c->cmsg_type == IP_TOS) {
        received.tos = *CMSG_DATA(c);
      } else if (c->cmsg_type == IP_RECVERR &&
                 c->cmsg_len >= CMSG_LEN(sizeof(sock_extended_err) + sizeof(sockaddr_in))) {
        std::memcpy(&queuedError_, CMSG_DATA(c), sizeof queuedError_);
        std::memcpy(&queuedOffender_, CMSG_DATA(c) + sizeof(sock_extended_err),
                    sizeof queuedOffender_);
        received.error = &queuedError_;
        received.offender = &queuedOffender_;
      }
    }
  }

  // A raw socket reads whole IP packets, from anyone to anyone on this host.
  void ExamineRawPacket(const Received& received) {
    const auto packet = ParseIpPacket(received.bytes);
    if (!packet || packet->header.protocol != 1) return;
    const auto message = ParseIcmpMessage(packet->payload);
    if (!message) return;
    if (message->type == kEchoReply) {
      if (message->identifier == request_.identifier &&
          IsOurReply(*message, packet->header.source)) {
        AcceptReply(*message, packet->header);
      }
    } else if (IsErrorType(message->type)) {
      const auto quoted = QuotedEchoRequest(message->quoted);
      if (quoted && quoted->identifier == request_.identifier &&
          quoted->sequence == request_.sequence && quoted->destination == request_.destination) {
        AcceptError(StatusOfIcmpError(message->type, message->code), packet->header.source,
                    packet->header);
      }
    }
  }

  // A datagram socket reads only ICMP messages, and only echo replies that
  // carry the identifier the kernel gave this socket.
  void ExamineDatagramMessage(const Received& received) {
    const auto message = ParseIcmpMessage(received.bytes);
    if (!message || message->type != kEchoReply) return;
    if (!IsOurReply(*message, received.from.sin_addr.s_addr)) return;
    IpHeaderFacts header;
    header.ttl = received.ttl;
    header.tos = received.tos;
    AcceptReply(*message, header);
  }

  // An error-queue entry carries our own request as it was sent, the address
  // it went to, and what the ICMP error said about it.
  void ExamineQueuedError(const Received& received) {
    if (!received.error || received.error->ee_origin != SO_EE_ORIGIN_ICMP) return;
    const auto& sent = received.bytes;
    if (sent.size() < kIcmpHeaderSize || sent[0] != kEchoRequest) return;
    const std::uint16_t sequence = static_cast<std::uint16_t>((sent[6] << 8) | sent[7]);
    if (sequence != request_.sequence || received.from.sin_addr.s_addr != request_.destination) {
      return;
    }
    IpHeaderFacts header;
    AcceptError(StatusOfIcmpError(received.error->ee_type, received.error->ee_code),
                received.offender->sin_addr.s_addr, header);
  }

  bool IsOurReply(const IcmpMessage& message, std::uint32_t source) const {
    return message.sequence == request_.sequence && source == request_.destination;
  }

  void AcceptReply(const IcmpMessage& message, const IpHeaderFacts& header) {
    // A datagram socket shows no IP header; its sender was checked to be the destination.
    const std::uint32_t from = header.source ? header.source : request_.destination;
    Accept(EchoOutcome::Kind::Reply, IP_SUCCESS, from, header);
    outcome_.data.assign(message.data.begin(), message.data.end());
  }

  void AcceptError(ULONG status, std::uint32_t reporter, const IpHeaderFacts& header) {
    Accept(EchoOutcome::Kind::Error, status, reporter, header);
  }

  void Accept(EchoOutcome::Kind kind, ULONG status, std::uint32_t address,
              const IpHeaderFacts& header) {
    outcome_.kind = kind;
    outcome_.status = status;
    outcome_.address = address;
    outcome_.roundTrip = Clock::now() - sentAt_;
    outcome_.ttl = header.ttl;
    outcome_.tos = header.tos;
    outcome_.flags = header.flags;
    answered_ = true;
  }

  const EchoSocket& socket_;
  const EchoRequest& request_;
  // Left uninitialised: only what the kernel wrote is read, and clearing
  // 64 KB on every call would cost each probe its page faults.
  std::unique_ptr<std::uint8_t[]> buffer_;
  Clock::time_point sentAt_{};
  EchoOutcome outcome_;
  bool answered_ = false;
  sock_extended_err queuedError_{};
  sockaddr_in queuedOffender_{};
};

}  // namespace

EchoOutcome ExchangeEcho(const EchoSocket& socket, const EchoRequest& request) {
  return Exchange(socket, request).Run();
}

}  // namespace platform::icmp
