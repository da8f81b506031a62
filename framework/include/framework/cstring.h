// The framework's string class: an ANSI string that owns its text.
#pragma once
#include <string>

#include "win32/types.h"

class CString {
 public:
  CString() = default;
  CString(LPCTSTR text) : text_(text ? text : "") {}  // NOLINT: converts like the original
  CString(const CString&) = default;
  CString& operator=(const CString&) = default;
  CString& operator=(LPCTSTR text) {
    text_ = text ? text : "";
    return *this;
  }

  // The string-table entry `id` of the program's resources; FALSE (and an
  // empty string) when there is none.
  BOOL LoadString(UINT id);

  // Byte offset of the first occurrence, or -1.
  int Find(LPCTSTR sub) const;
  int Find(char ch) const;

  // At least `minBufferLength` writable characters plus a terminator. After
  // writing, ReleaseBuffer sets the length to the first terminator (or to
  // `newLength`).
  LPTSTR GetBuffer(int minBufferLength);
  void ReleaseBuffer(int newLength = -1);

  int GetLength() const { return static_cast<int>(Length()); }
  BOOL IsEmpty() const { return Length() == 0; }
  CString Left(int count) const;
  CString Mid(int first) const;
  operator LPCTSTR() const { return text_.c_str(); }  // NOLINT
  CString& operator+=(LPCTSTR text);
  bool operator==(LPCTSTR text) const { return Compare(text) == 0; }
  int Compare(LPCTSTR text) const;

 private:
  // A buffer handed out by GetBuffer may hold a terminator before its end.
  std::size_t Length() const;
  std::string text_;
};
