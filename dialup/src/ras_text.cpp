#include "dialup/ras_text.h"

#include "win32/ras.h"

namespace dialup {

std::string StateName(DWORD state) {
  switch (state) {
    case RASCS_OpenPort: return "opening the port";
    case RASCS_PortOpened: return "port opened";
    case RASCS_ConnectDevice: return "dialling";
    case RASCS_DeviceConnected: return "device connected";
    case RASCS_AllDevicesConnected: return "setting up the interface";
    case RASCS_Connected: return "connected";
    case RASCS_Disconnected: return "disconnected";
    default: return "state " + std::to_string(state);
  }
}

std::string ErrorText(DWORD error) {
  switch (error) {
    case 0: return "no error";
    case PENDING: return "the operation is pending";
    case ERROR_PORT_ALREADY_OPEN: return "the line is already in use";
    case ERROR_DEVICE_DOES_NOT_EXIST: return "the serial device does not exist";
    case ERROR_PORT_DISCONNECTED: return "the line was disconnected";
    case ERROR_CANNOT_FIND_PHONEBOOK_ENTRY: return "no usable phonebook entry";
    case ERROR_DISCONNECTION: return "the connection was closed";
    case ERROR_USER_DISCONNECTION: return "hung up";
    case ERROR_PORT_NOT_AVAILABLE: return "the line or the network interface is not available";
    case ERROR_FROM_DEVICE: return "the modem reported an error";
    case ERROR_UNRECOGNIZED_RESPONSE: return "the modem gave an unexpected answer";
    case ERROR_NO_CONNECTION: return "not connected";
    case ERROR_LINE_BUSY: return "the line is busy";
    case ERROR_NO_ANSWER: return "no answer";
    case ERROR_NO_CARRIER: return "no carrier";
    case ERROR_NO_DIALTONE: return "no dial tone";
    case ERROR_SLIP_REQUIRES_IP: return "the entry needs both IPv4 addresses";
    default: return "error " + std::to_string(error);
  }
}

}  // namespace dialup
