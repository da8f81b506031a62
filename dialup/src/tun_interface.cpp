#include "dialup/tun_interface.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/if_tun.h>
#include <net/if.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "win32/ras.h"

namespace dialup {
namespace {

std::string UserName() {
  if (passwd* pw = getpwuid(geteuid())) return pw->pw_name;
  return std::to_string(geteuid());
}

std::string PermissionFix(const InterfaceConfig& c) {
  std::string name = c.name.empty() ? "sl0" : c.name;
  return "no permission to create network interface " + name +
         "; run as root, give corvane-link cap_net_admin (setcap cap_net_admin+ep corvane-link), "
         "or as root prepare a persistent one: ip tuntap add dev " + name + " mode tun user " +
         UserName() + " && ip addr add " + c.local + " peer " + c.remote + " dev " + name +
         " && ip link set " + name + " mtu " + std::to_string(c.mtu) + " up" +
         (c.name.empty() ? " (and set interface=" + name + " in the phonebook entry)" : "");
}

sockaddr IPv4(const std::string& text) {
  sockaddr_in in{};
  in.sin_family = AF_INET;
  inet_pton(AF_INET, text.c_str(), &in.sin_addr);
  sockaddr out{};
  std::memcpy(&out, &in, sizeof in);
  return out;
}

bool SameAddress(const sockaddr& a, const std::string& text) {
  sockaddr b = IPv4(text);
  return std::memcmp(&reinterpret_cast<const sockaddr_in&>(a).sin_addr,
                     &reinterpret_cast<const sockaddr_in&>(b).sin_addr, sizeof(in_addr)) == 0;
}

// A persistent interface prepared by an administrator may already carry the
// right settings; then an unprivileged link can use it as it is.
bool AlreadyConfigured(int sock, const std::string& name, const InterfaceConfig& c) {
  ifreq req{};
  std::strncpy(req.ifr_name, name.c_str(), IFNAMSIZ - 1);
  if (ioctl(sock, SIOCGIFADDR, &req) != 0 || !SameAddress(req.ifr_addr, c.local)) return false;
  if (ioctl(sock, SIOCGIFDSTADDR, &req) != 0 || !SameAddress(req.ifr_dstaddr, c.remote))
    return false;
  if (ioctl(sock, SIOCGIFMTU, &req) != 0 || static_cast<unsigned>(req.ifr_mtu) != c.mtu)
    return false;
  return ioctl(sock, SIOCGIFFLAGS, &req) == 0 && (req.ifr_flags & IFF_UP);
}

}  // namespace

TunInterface::~TunInterface() { Close(); }

void TunInterface::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

DWORD TunInterface::Create(const InterfaceConfig& config, std::string& problem) {
  fd_ = open("/dev/net/tun", O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    int err = errno;
    if (err == EACCES || err == EPERM) {
      problem = PermissionFix(config);
    } else {
      problem = std::string("/dev/net/tun: ") + std::strerror(err);
    }
    return ERROR_PORT_NOT_AVAILABLE;
  }
  ifreq req{};
  req.ifr_flags = IFF_TUN | IFF_NO_PI;
  std::strncpy(req.ifr_name, config.name.empty() ? "sl%d" : config.name.c_str(), IFNAMSIZ - 1);
  if (ioctl(fd_, TUNSETIFF, &req) != 0) {
    int err = errno;
    problem = err == EPERM || err == EACCES
                  ? PermissionFix(config)
                  : "cannot create network interface: " + std::string(std::strerror(err));
    Close();
    return ERROR_PORT_NOT_AVAILABLE;
  }
  name_ = req.ifr_name;
  return Configure(config, problem);
}

DWORD TunInterface::Configure(const InterfaceConfig& c, std::string& problem) {
  int sock = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (sock < 0) {
    problem = std::string("socket: ") + std::strerror(errno);
    Close();
    return ERROR_PORT_NOT_AVAILABLE;
  }
  auto request = [&] {
    ifreq req{};
    std::strncpy(req.ifr_name, name_.c_str(), IFNAMSIZ - 1);
    return req;
  };
  ifreq addr = request(), peer = request(), mtu = request(), flags = request();
  addr.ifr_addr = IPv4(c.local);
  peer.ifr_dstaddr = IPv4(c.remote);
  mtu.ifr_mtu = static_cast<int>(c.mtu);
  bool ok = ioctl(sock, SIOCSIFADDR, &addr) == 0 && ioctl(sock, SIOCSIFDSTADDR, &peer) == 0 &&
            ioctl(sock, SIOCSIFMTU, &mtu) == 0 && ioctl(sock, SIOCGIFFLAGS, &flags) == 0;
  int err = errno;
  if (ok) {
    flags.ifr_flags |= IFF_UP | IFF_RUNNING | IFF_POINTOPOINT;
    ok = ioctl(sock, SIOCSIFFLAGS, &flags) == 0;
    err = errno;
  }
  if (!ok && (err == EPERM || err == EACCES) && AlreadyConfigured(sock, name_, c)) ok = true;
  close(sock);
  if (ok) return 0;
  problem = err == EPERM || err == EACCES
                ? PermissionFix(c)
                : "cannot configure " + name_ + ": " + std::string(std::strerror(err));
  Close();
  return ERROR_PORT_NOT_AVAILABLE;
}

bool InterfaceExists(const std::string& name) { return if_nametoindex(name.c_str()) != 0; }

}  // namespace dialup
