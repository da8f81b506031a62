// The resource module a program links: dialog templates, string table,
// pictures and version record, as data. Sizes are dialog units.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "win32/types.h"

// Window and control styles the templates use.
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD DS_ABSALIGN = 0x01;
constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD DS_SETFONT = 0x40;
constexpr DWORD DS_CENTER = 0x0800;
constexpr DWORD DS_CENTERMOUSE = 0x1000;
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD SS_LEFT = 0x0;
constexpr DWORD SS_CENTER = 0x1;
constexpr DWORD SS_BITMAP = 0xE;
constexpr DWORD SS_TYPEMASK = 0x1F;
constexpr DWORD ES_LEFT = 0x0;
constexpr DWORD ES_AUTOHSCROLL = 0x80;

constexpr int IDC_STATIC = -1;

namespace corvane::res {

enum class ControlKind { PushButton, Static, Picture, Edit };

struct ControlTemplate {
  int id;
  ControlKind kind;
  std::string text;  // the picture's resource id for a Picture (its text is "#134" in a script)
  DWORD style;
  int x, y, cx, cy;
  int imageId = 0;  // bitmap shown by a Picture control

  bool IsDefaultButton() const {
    return kind == ControlKind::PushButton && (style & 0xF) == BS_DEFPUSHBUTTON;
  }
  bool IsCentred() const { return kind == ControlKind::Static && (style & SS_TYPEMASK) == SS_CENTER; }
  bool IsTabStop() const { return (style & WS_TABSTOP) != 0; }
};

struct DialogTemplate {
  int id;
  bool extended;  // DIALOGEX
  WORD language;
  DWORD style;
  DWORD exStyle;
  DWORD helpId;
  int x, y, cx, cy;
  std::string caption;
  std::string fontName;
  int pointSize;
  int fontWeight;
  bool italic;
  int charset;
  std::vector<ControlTemplate> controls;

  bool HasCloseBox() const { return (style & WS_SYSMENU) != 0; }
  bool VisibleAtCreation() const { return (style & WS_VISIBLE) != 0; }
  bool WantsTaskbarEntry() const { return (exStyle & WS_EX_APPWINDOW) != 0; }
  const ControlTemplate* FindControl(int controlId) const;
};

struct StringEntry {
  UINT id;
  std::string text;
};

// A picture kept as the bytes of its file (.ico or .bmp).
struct Picture {
  int id;
  WORD language;
  const unsigned char* bytes;
  std::size_t size;
};

struct VersionRecord {
  WORD fileVersion[4];
  WORD productVersion[4];
  WORD language;
  WORD codePage;
  std::vector<std::pair<std::string, std::string>> strings;  // name, value
};

struct ResourceModule {
  std::string name;
  std::vector<DialogTemplate> dialogs;
  WORD stringLanguage;
  std::vector<StringEntry> strings;
  std::vector<Picture> icons;
  std::vector<Picture> bitmaps;
  VersionRecord version;

  const DialogTemplate* FindDialog(int templateId) const;
  const std::string* FindString(UINT stringId) const;
  const Picture* FindIcon(int iconId) const;
  const Picture* FindBitmap(int bitmapId) const;
};

// The module that holds the running program's resources. A program registers
// its own at static initialisation (ResourceModuleRegistration); tests may
// install another for a scope.
const ResourceModule* CurrentModule();
void SetCurrentModule(const ResourceModule* module);

struct ResourceModuleRegistration {
  explicit ResourceModuleRegistration(const ResourceModule& module) { SetCurrentModule(&module); }
};

}  // namespace corvane::res
