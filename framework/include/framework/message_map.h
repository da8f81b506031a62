// Message maps: static tables that send a window message or a command to a
// member function of the object that handles it, searched from the most
// derived class to its bases.
#pragma once
#include "win32/types.h"
#include "win32/user.h"

class CCmdTarget;
class CWnd;

using AFX_PMSG = void (CCmdTarget::*)();

// How the handler is called.
enum AfxSig : UINT {
  AfxSig_end = 0,
  AfxSig_vv,  // void handler()
  AfxSig_hv,  // HCURSOR handler()  (stored as a CWnd member)
};

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;
  UINT nID;
  UINT nSig;
  AFX_PMSG pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                   \
 protected:                                     \
  static const AFX_MSGMAP* GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                         \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                    \
    using ThisClass = theClass;                                                        \
    using TheBaseClass = baseClass;                                                    \
    static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                               \
  { 0, 0, 0, AfxSig_end, nullptr }                                      \
  }                                                                     \
  ;                                                                     \
  static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
  return &map;                                                          \
  }

#define ON_WM_PAINT()                           \
  {WM_PAINT, 0, 0, AfxSig_vv,                   \
   static_cast<AFX_PMSG>(static_cast<void (CWnd::*)()>(&ThisClass::OnPaint))},

#define ON_WM_QUERYDRAGICON()                   \
  {WM_QUERYDRAGICON, 0, 0, AfxSig_hv,           \
   reinterpret_cast<AFX_PMSG>(static_cast<HCURSOR (CWnd::*)()>(&ThisClass::OnQueryDragIcon))},

#define ON_COMMAND(id, memberFxn) {WM_COMMAND, 0, static_cast<UINT>(id), AfxSig_vv, static_cast<AFX_PMSG>(memberFxn)},

#define ON_BN_CLICKED(id, memberFxn) \
  {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), AfxSig_vv, static_cast<AFX_PMSG>(memberFxn)},

class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;

  // Runs the handler of command `id`, if this object's map has one.
  virtual BOOL OnCmdMsg(UINT id);

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;

  const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;
  LRESULT CallHandler(const AFX_MSGMAP_ENTRY& entry);
};
