// The ICMP echo service: IcmpCreateFile, IcmpSendEcho and IcmpCloseHandle on
// Linux ICMP sockets, and WSAStartup.
#include <sys/random.h>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <span>

#include "icmp/echo_exchange.h"
#include "icmp/icmp_handles.h"
#include "icmp/icmp_socket.h"
#include "icmp/reply_records.h"
#include "icmp/socket_layer_startup.h"
#include "real_services.h"

namespace platform::real {
namespace {

std::uint16_t RandomNumber() {
  std::uint16_t value = 0;
  if (getrandom(&value, sizeof value, GRND_NONBLOCK) != sizeof value) {
    value = static_cast<std::uint16_t>(
        std::chrono::steady_clock::now().time_since_epoch().count());
  }
  return value;
}

DWORD FailWith(DWORD error) {
  SetLastError(error);
  return 0;
}

class LinuxIcmpEcho final : public IcmpEcho {
 public:
  int Startup(WORD version, LPWSADATA data) override {
    return icmp::StartSocketLayer(version, data);
  }

  HANDLE CreateFile() override {
    const auto socket = icmp::OpenEchoSocket();
    if (!socket) {
      SetLastError(errno == EACCES || errno == EPERM ? ERROR_ACCESS_DENIED
                                                      : ERROR_NOT_ENOUGH_MEMORY);
      return INVALID_HANDLE_VALUE;
    }
    // A random identifier keeps our raw-socket replies apart from those of
    // other processes; a random first sequence number keeps a late reply to
    // an earlier handle's request from passing for one of ours.
    const std::uint16_t identifier = RandomNumber();
    icmp::KeepOnlyRepliesTo(*socket, identifier);
    return icmp::AddHandle(
        std::make_shared<icmp::IcmpHandleState>(*socket, identifier, RandomNumber()));
  }

  DWORD SendEcho(HANDLE handle, IPAddr destination, LPVOID requestData, WORD requestSize,
                 PIP_OPTION_INFORMATION options, LPVOID replyBuffer, DWORD replySize,
                 DWORD timeoutMs) override {
    const auto state = icmp::FindHandle(handle);
    if (!state) return FailWith(ERROR_INVALID_HANDLE);
    if (!replyBuffer || (requestSize && !requestData)) return FailWith(ERROR_INVALID_PARAMETER);
    if (replySize < icmp::MinimumReplyBufferSize(requestSize)) return FailWith(IP_BUF_TOO_SMALL);

    const std::lock_guard turn(state->exchangeTurn);
    icmp::EchoRequest request;
    request.destination = destination;
    request.identifier = state->identifier;
    request.sequence = state->nextSequence++;
    request.data = std::span(static_cast<const std::uint8_t*>(requestData), requestSize);
    if (options && options->Ttl) request.ttl = options->Ttl;
    request.timeout = std::chrono::milliseconds(timeoutMs);

    const icmp::EchoOutcome outcome = icmp::ExchangeEcho(state->socket, request);
    switch (outcome.kind) {
      case icmp::EchoOutcome::Kind::Reply:
      case icmp::EchoOutcome::Kind::Error:
        SetLastError(ERROR_SUCCESS);
        return icmp::WriteReplyRecord(outcome, replyBuffer, replySize);
      case icmp::EchoOutcome::Kind::NotSent:
      case icmp::EchoOutcome::Kind::TimedOut:
        break;
    }
    return FailWith(outcome.status);
  }

  BOOL CloseHandle(HANDLE handle) override {
    if (!icmp::RemoveHandle(handle)) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    return TRUE;
  }
};

}  // namespace

IcmpEcho& TheIcmpEcho() {
  static LinuxIcmpEcho service;
  return service;
}

}  // namespace platform::real
