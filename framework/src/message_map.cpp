#include "framework/message_map.h"

#include "framework/wnd.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, AfxSig_end, nullptr}};
  static const AFX_MSGMAP map = {nullptr, entries};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
      if (e->nMessage == message && e->nCode == code && e->nID == id) return e;
    }
  }
  return nullptr;
}

LRESULT CCmdTarget::CallHandler(const AFX_MSGMAP_ENTRY& entry) {
  switch (entry.nSig) {
    case AfxSig_vv:
      (this->*entry.pfn)();
      return 0;
    case AfxSig_hv: {
      // Stored from a CWnd member returning HCURSOR; only windows have them.
      auto handler = reinterpret_cast<HCURSOR (CWnd::*)()>(entry.pfn);
      auto* wnd = dynamic_cast<CWnd*>(this);
      return wnd ? reinterpret_cast<LRESULT>((wnd->*handler)()) : 0;
    }
    default:
      return 0;
  }
}

BOOL CCmdTarget::OnCmdMsg(UINT id) {
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, BN_CLICKED, id);
  if (!entry) return FALSE;
  CallHandler(*entry);
  return TRUE;
}
