#include "web_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "device_pages.h"

namespace demo {
namespace {

// A client that sends nothing, or far too much, must not keep the one
// server thread from the next browser request.
constexpr int kRequestWaitMs = 5000;
constexpr std::size_t kMaxRequestBytes = 16384;

std::string Status(const char* line, const std::string& message) {
  std::string body = "<html><body><h1>" + message + "</h1></body></html>\n";
  return std::string("HTTP/1.0 ") + line + "\r\nContent-Type: text/html\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

bool SendAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

// The request header, or "" when the client gave up or took too long.
std::string ReadRequest(int client) {
  std::string request;
  char buffer[2048];
  while (request.find("\r\n\r\n") == std::string::npos && request.find("\n\n") == std::string::npos) {
    if (request.size() > kMaxRequestBytes) return {};
    pollfd ready{client, POLLIN, 0};
    if (poll(&ready, 1, kRequestWaitMs) <= 0) return {};
    ssize_t n = recv(client, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return {};
    request.append(buffer, static_cast<std::size_t>(n));
  }
  return request;
}

}  // namespace

int ListenOn(const std::string& address, int port, std::string& problem) {
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(static_cast<std::uint16_t>(port));
  if (inet_pton(AF_INET, address.c_str(), &at.sin_addr) != 1) {
    problem = "'" + address + "' is not a dotted IPv4 address";
    return -1;
  }
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || listen(fd, 16) != 0) {
    problem = "cannot listen on " + address + ":" + std::to_string(port) + ": " + std::strerror(errno);
    if (fd >= 0) close(fd);
    return -1;
  }
  return fd;
}

std::string RespondTo(const std::string& request) {
  std::size_t methodEnd = request.find(' ');
  std::size_t pathEnd = methodEnd == std::string::npos ? methodEnd : request.find_first_of(" \r\n", methodEnd + 1);
  if (pathEnd == std::string::npos) return Status("400 Bad Request", "Bad request");
  std::string method = request.substr(0, methodEnd);
  std::string path = request.substr(methodEnd + 1, pathEnd - methodEnd - 1);
  if (method != "GET" && method != "HEAD") return Status("501 Not Implemented", "Only GET and HEAD");
  const Page* page = FindPage(path);
  if (!page) return Status("404 Not Found", "No such page on this device");
  std::string response = "HTTP/1.0 200 OK\r\nContent-Type: " + std::string(page->contentType) +
                         "\r\nContent-Length: " + std::to_string(page->body.size()) +
                         "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
  if (method == "GET") response += page->body;
  return response;
}

void ServeForever(int listener) {
  for (;;) {
    int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    std::string request = ReadRequest(client);
    if (!request.empty()) SendAll(client, RespondTo(request));
    close(client);
  }
}

}  // namespace demo
