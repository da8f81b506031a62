#pragma once
#include "framework/cstring.h"

// The host part of a device URL as typed: without "//", the text up to the
// first '/'; with "//" right after a five-letter scheme, the text after the
// first seven characters up to the next '/', provided "http://" or "HTTP://"
// stands somewhere in the text. FALSE when the entry is refused by its form
// (the host is still filled where it can be).
BOOL HostOfDeviceUrl(const CString& url, CString& host);
