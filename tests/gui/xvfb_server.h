// A private X server for the GUI tests: Xvfb on a free display number that
// the server picks itself (-displayfd), no window manager, stopped with the
// object.
#pragma once
#include <sys/types.h>

#include <string>

namespace corvane::guitest {

class XvfbServer {
 public:
  XvfbServer() = default;
  ~XvfbServer() { Stop(); }
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  // Starts the server and waits until it accepts connections; false and
  // `why` when that is not possible here.
  bool Start(std::string& why, int width = 1024, int height = 768);
  void Stop();
  const std::string& DisplayName() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace corvane::guitest
