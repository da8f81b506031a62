#include "http_get.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace dialup::testbed {
namespace {

struct Target {
  std::string host;
  int port = 80;
  std::string path = "/";
};

std::optional<Target> ParseUrl(const std::string& url) {
  const std::string scheme = "http://";
  if (!url.starts_with(scheme)) return std::nullopt;
  Target t;
  std::string rest = url.substr(scheme.size());
  auto slash = rest.find('/');
  std::string authority = rest.substr(0, slash);
  if (slash != std::string::npos) t.path = rest.substr(slash);
  auto colon = authority.find(':');
  t.host = authority.substr(0, colon);
  if (colon != std::string::npos) t.port = std::atoi(authority.c_str() + colon + 1);
  return t;
}

bool WaitFor(int fd, short events, int timeoutMs) {
  pollfd p{fd, events, 0};
  return poll(&p, 1, timeoutMs) > 0;
}

bool SendAll(int fd, const std::string& text, int timeoutMs) {
  std::size_t done = 0;
  while (done < text.size()) {
    if (!WaitFor(fd, POLLOUT, timeoutMs)) return false;
    ssize_t n = send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::optional<std::string> Exchange(int fd, const Target& t, int timeoutMs) {
  sockaddr_in in{};
  in.sin_family = AF_INET;
  in.sin_port = htons(static_cast<std::uint16_t>(t.port));
  if (inet_pton(AF_INET, t.host.c_str(), &in.sin_addr) != 1) return std::nullopt;
  if (connect(fd, reinterpret_cast<sockaddr*>(&in), sizeof in) != 0 && errno != EINPROGRESS)
    return std::nullopt;
  if (!SendAll(fd, "GET " + t.path + " HTTP/1.0\r\nHost: " + t.host + "\r\n\r\n", timeoutMs))
    return std::nullopt;
  std::string answer;
  char buffer[65536];
  for (;;) {
    if (!WaitFor(fd, POLLIN, timeoutMs)) return std::nullopt;
    ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    answer.append(buffer, static_cast<std::size_t>(n));
  }
  auto headerEnd = answer.find("\r\n\r\n");
  if (!answer.starts_with("HTTP/1.0 200") || headerEnd == std::string::npos) return std::nullopt;
  std::string body = answer.substr(headerEnd + 4);
  auto length = answer.find("Content-Length: ");
  if (length != std::string::npos && length < headerEnd &&
      std::strtoull(answer.c_str() + length + 16, nullptr, 10) != body.size())
    return std::nullopt;
  return body;
}

}  // namespace

std::optional<std::string> HttpGet(const std::string& url, int timeoutMs) {
  auto target = ParseUrl(url);
  if (!target) return std::nullopt;
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return std::nullopt;
  auto body = Exchange(fd, *target, timeoutMs);
  close(fd);
  return body;
}

}  // namespace dialup::testbed
