// A browser for the journey test: fetches the one URL it is started with
// over HTTP and keeps the page's body in a file, so the test can tell that
// the page really came over the link.
//   page_fetcher OUTPUT_FILE URL
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

constexpr int kWaitMs = 5000;

bool Fetch(const std::string& url, std::string& body) {
  const std::string scheme = "http://";
  if (url.compare(0, scheme.size(), scheme) != 0) return false;
  std::string rest = url.substr(scheme.size());
  std::size_t slash = rest.find('/');
  std::string host = rest.substr(0, slash);
  std::string path = slash == std::string::npos ? "/" : rest.substr(slash);
  int port = 80;
  if (std::size_t colon = host.find(':'); colon != std::string::npos) {
    port = std::atoi(host.c_str() + colon + 1);
    host.erase(colon);
  }
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(static_cast<std::uint16_t>(port));
  if (inet_pton(AF_INET, host.c_str(), &at.sin_addr) != 1) return false;
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) return false;
  std::string request = "GET " + path + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n";
  if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size())) return false;
  std::string response;
  char buffer[4096];
  for (;;) {
    pollfd ready{fd, POLLIN, 0};
    if (poll(&ready, 1, kWaitMs) <= 0) return false;
    ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n < 0) return false;
    if (n == 0) break;
    response.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  std::size_t headerEnd = response.find("\r\n\r\n");
  if (response.compare(0, 12, "HTTP/1.0 200") != 0 || headerEnd == std::string::npos) return false;
  body = response.substr(headerEnd + 4);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::string body;
  if (!Fetch(argv[2], body)) body = "fetch failed: " + std::string(argv[2]);
  // Whole or not at all: the test reads the file as soon as it appears.
  std::string partial = std::string(argv[1]) + ".part";
  std::ofstream(partial, std::ios::binary) << body;
  return std::rename(partial.c_str(), argv[1]) == 0 ? 0 : 1;
}
