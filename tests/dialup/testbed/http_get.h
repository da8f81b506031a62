// A plain HTTP/1.0 GET, enough to fetch the simulated device's pages.
#pragma once
#include <optional>
#include <string>

namespace dialup::testbed {

// The body of http://host[:port]/path, or nothing when the connection failed,
// the answer was not 200, or the body is shorter than its Content-Length.
// Gives up after `timeoutMs` without progress.
std::optional<std::string> HttpGet(const std::string& url, int timeoutMs = 10000);

}  // namespace dialup::testbed
