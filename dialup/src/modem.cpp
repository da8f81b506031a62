#include "dialup/modem.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "dialup/event_wait.h"
#include "dialup/link_record.h"
#include "win32/ras.h"

namespace dialup {
namespace {

std::string Trimmed(const std::string& s) {
  auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Reads result lines (CR or LF terminated) from the modem.
class ResultReader {
 public:
  ResultReader(int lineFd, int stopFd, std::int64_t deadlineNs)
      : lineFd_(lineFd), stopFd_(stopFd), deadlineNs_(deadlineNs) {}

  // Sends a command; false when the line would not take it.
  DWORD Send(const std::string& command) {
    std::string text = command + "\r";
    std::size_t done = 0;
    while (done < text.size()) {
      ssize_t n = write(lineFd_, text.data() + done, text.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN) return ERROR_PORT_DISCONNECTED;
      if (StopRequested(stopFd_)) return ERROR_USER_DISCONNECTION;
      if (MonotonicNs() > deadlineNs_) return ERROR_NO_ANSWER;
      usleep(1000);
    }
    return 0;
  }

  // 0 or a RAS error for the first line that `classify` answers.
  template <class Classify>
  DWORD Await(Classify classify) {
    for (;;) {
      while (auto line = NextLine()) {
        if (auto result = classify(*line)) return *result;
      }
      switch (WaitReadable(lineFd_, stopFd_, deadlineNs_)) {
        case WaitResult::Stopped: return ERROR_USER_DISCONNECTION;
        case WaitResult::TimedOut: return ERROR_NO_ANSWER;
        case WaitResult::Failed: return ERROR_PORT_DISCONNECTED;
        case WaitResult::Ready: break;
      }
      char buffer[256];
      ssize_t n = read(lineFd_, buffer, sizeof buffer);
      if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return ERROR_PORT_DISCONNECTED;
      if (n > 0) pending_.append(buffer, static_cast<std::size_t>(n));
      // A line that never ends is noise; keep the tail, where an answer may start.
      if (pending_.size() > 4096) pending_.erase(0, pending_.size() - 256);
    }
  }

 private:
  std::optional<std::string> NextLine() {
    auto end = pending_.find_first_of("\r\n");
    if (end == std::string::npos) return std::nullopt;
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return Trimmed(line);
  }

  int lineFd_;
  int stopFd_;
  std::int64_t deadlineNs_;
  std::string pending_;
};

// The init string is answered by OK; the dial result would be unexpected.
std::optional<DWORD> InitResult(const std::string& line, const std::string& command) {
  std::string upper = Upper(line);
  if (upper == "OK" || upper == "0") return 0;
  auto result = DialResult(line, command);
  if (result && *result == 0) return ERROR_UNRECOGNIZED_RESPONSE;
  return result;
}

}  // namespace

std::optional<DWORD> DialResult(const std::string& rawLine, const std::string& command) {
  std::string line = Upper(Trimmed(rawLine));
  if (line.empty() || line == "RING" || line == "2" || line == Upper(command)) return std::nullopt;
  if (line == "CONNECT" || line.starts_with("CONNECT ") || line == "1") return 0;
  if (line == "BUSY" || line == "7") return ERROR_LINE_BUSY;
  if (line == "NO ANSWER" || line == "8") return ERROR_NO_ANSWER;
  if (line == "NO CARRIER" || line == "3") return ERROR_NO_CARRIER;
  if (line == "NO DIALTONE" || line == "NO DIAL TONE" || line == "6") return ERROR_NO_DIALTONE;
  if (line == "ERROR" || line == "4") return ERROR_FROM_DEVICE;
  return ERROR_UNRECOGNIZED_RESPONSE;
}

bool IsDialableNumber(const std::string& number) {
  return !number.empty() && number.size() <= 128 &&
         std::all_of(number.begin(), number.end(), [](char c) {
           return std::isdigit(static_cast<unsigned char>(c)) ||
                  std::string_view("*#,WwPpTt!@ +-()").find(c) != std::string_view::npos;
         });
}

DWORD DialModem(int lineFd, int stopFd, const std::string& init, const std::string& number,
                std::int64_t deadlineNs) {
  ResultReader modem(lineFd, stopFd, deadlineNs);
  if (!init.empty()) {
    if (DWORD error = modem.Send(init)) return error;
    if (DWORD error = modem.Await([&](const std::string& l) { return InitResult(l, init); }))
      return error;
  }
  std::string dial = "ATDT" + number;
  if (DWORD error = modem.Send(dial)) return error;
  return modem.Await([&](const std::string& l) { return DialResult(l, dial); });
}

}  // namespace dialup
