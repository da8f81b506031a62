// The serial line a link runs on: opened for this process alone, raw 8N1.
#pragma once
#include <string>

#include "dialup/phonebook.h"
#include "win32/types.h"

namespace dialup {

class SerialLine {
 public:
  SerialLine() = default;
  ~SerialLine();
  SerialLine(const SerialLine&) = delete;
  SerialLine& operator=(const SerialLine&) = delete;

  // Opens and locks the entry's device and sets it raw. 0 or a RAS error:
  // 608 no such device, 602 another process holds the line, 633 the line
  // cannot be opened or set up (a sentence for the user lands in `problem`).
  DWORD Open(const Entry& entry, std::string& problem);

  // After a modem reports CONNECT the carrier matters: losing it hangs up.
  void WatchCarrier();

  // Closing drops DTR (HUPCL), so a modem hangs up.
  void Close();

  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

// The termios speed constant for bits per second, or 0 when there is none.
unsigned SpeedConstant(unsigned bitsPerSecond);

}  // namespace dialup
