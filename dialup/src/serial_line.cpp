#include "dialup/serial_line.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "win32/ras.h"

namespace dialup {

unsigned SpeedConstant(unsigned bps) {
  switch (bps) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 500000: return B500000;
    case 576000: return B576000;
    case 921600: return B921600;
    case 1000000: return B1000000;
    case 1152000: return B1152000;
    case 1500000: return B1500000;
    case 2000000: return B2000000;
    case 2500000: return B2500000;
    case 3000000: return B3000000;
    case 3500000: return B3500000;
    case 4000000: return B4000000;
    default: return 0;
  }
}

SerialLine::~SerialLine() { Close(); }

void SerialLine::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

DWORD SerialLine::Open(const Entry& entry, std::string& problem) {
  unsigned speed = SpeedConstant(entry.speed);
  if (speed == 0) {
    problem = "speed " + std::to_string(entry.speed) + " is not a standard line speed";
    return ERROR_PORT_NOT_AVAILABLE;
  }
  fd_ = open(entry.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    int err = errno;
    problem = entry.device + ": " + std::strerror(err);
    return err == ENOENT || err == ENXIO || err == ENODEV ? ERROR_DEVICE_DOES_NOT_EXIST
           : err == EBUSY                                 ? ERROR_PORT_ALREADY_OPEN
                                                          : ERROR_PORT_NOT_AVAILABLE;
  }
  if (!isatty(fd_)) {
    problem = entry.device + " is not a serial line";
    return ERROR_PORT_NOT_AVAILABLE;
  }
  if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    problem = entry.device + " is in use by another program";
    return ERROR_PORT_ALREADY_OPEN;
  }
  ioctl(fd_, TIOCEXCL);  // keeps unprivileged programs off the line
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0) {
    problem = entry.device + ": " + std::strerror(errno);
    return ERROR_PORT_NOT_AVAILABLE;
  }
  cfmakeraw(&tio);
  tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS | CSIZE);
  tio.c_cflag |= CS8 | CREAD | CLOCAL | HUPCL;
  if (entry.flow == FlowControl::RtsCts) tio.c_cflag |= CRTSCTS;
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  if (tcsetattr(fd_, TCSANOW, &tio) != 0) {
    problem = entry.device + ": " + std::strerror(errno);
    return ERROR_PORT_NOT_AVAILABLE;
  }
  tcflush(fd_, TCIOFLUSH);
  return 0;
}

void SerialLine::WatchCarrier() {
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0) return;
  tio.c_cflag &= ~CLOCAL;
  tcsetattr(fd_, TCSANOW, &tio);
}

}  // namespace dialup
