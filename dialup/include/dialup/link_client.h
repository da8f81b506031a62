// The client side of the dial-up service: starts connection processes,
// answers status queries from their link records, and hangs links up. The
// RAS calls of the platform layer and the corvane-dial command both use it.
#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "dialup/link_record.h"
#include "win32/types.h"

namespace dialup {

using LinkHandle = std::uint32_t;  // 0 is no handle

struct DialRequest {
  std::string entry;
  std::string phonebook;  // empty: the per-user, then the system-wide phonebook
  std::string number;     // empty: the entry's own number
};

struct LinkStatus {
  DWORD state = 0;
  DWORD error = 0;
  std::string deviceType;
  std::string deviceName;
};

class LinkClient {
 public:
  LinkClient() = default;
  ~LinkClient();
  LinkClient(const LinkClient&) = delete;
  LinkClient& operator=(const LinkClient&) = delete;

  // Returns at once, leaving a handle in `handle` unless the line is held by
  // another process (602) or nothing could be started. An entry that already
  // has a live link gets a handle to that link.
  DWORD Dial(const DialRequest& request, LinkHandle* handle);

  // The link's state and error. When neither changed since the last query
  // on this handle, waits up to `maxWaitMs` for the next change.
  DWORD Status(LinkHandle handle, LinkStatus* status, int maxWaitMs = 50);

  // Asks the connection process to end; does not wait. The handle is dead
  // afterwards.
  DWORD HangUp(LinkHandle handle);

 private:
  struct Attachment;
  LinkStatus Current(Attachment& a);
  LinkHandle Add(Attachment a);

  std::mutex mutex_;
  std::map<LinkHandle, Attachment*> handles_;
  LinkHandle next_ = 1;
};

LinkClient& TheLinkClient();

// Where the connection process program is: beside this program, else in the
// install prefix's libexec folder. Empty when neither has it.
std::string FindConnectionHelper();

// Ends the live link of an entry and waits (up to `waitMs`) until it is
// down. 0, or ERROR_NO_CONNECTION (668) when the entry has no live link.
DWORD HangUpEntry(const std::string& entry, int waitMs = 5000);

}  // namespace dialup
