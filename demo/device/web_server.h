// A small HTTP/1.0 server: one request per connection, GET and HEAD only,
// enough for a browser to show the device's pages.
#pragma once
#include <string>

namespace demo {

// A listening socket on `address`:`port`, or -1 with `problem` filled.
int ListenOn(const std::string& address, int port, std::string& problem);

// The whole response to one request (the bytes received up to the blank
// line that ends its header).
std::string RespondTo(const std::string& request);

// Serves connections on `listener` until the process ends, one at a time.
[[noreturn]] void ServeForever(int listener);

}  // namespace demo
