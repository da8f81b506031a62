#include "device_url.h"

namespace {
void CutAtFirstSlash(CString& text) {
  int slash = text.Find('/');
  if (slash >= 0) text = text.Left(slash);
}
}  // namespace

BOOL HostOfDeviceUrl(const CString& url, CString& host) {
  host = url;
  int doubleSlash = host.Find("//");
  if (doubleSlash < 0) {
    CutAtFirstSlash(host);
    return TRUE;
  }
  if (doubleSlash != 5) return FALSE;
  BOOL schemeAccepted = host.Find("http://") >= 0 || host.Find("HTTP://") >= 0;
  host = host.Mid(7);
  CutAtFirstSlash(host);
  return schemeAccepted;
}
