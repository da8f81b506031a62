#include "framework/cstring.h"

#include <cstring>

#include "framework/resources.h"

BOOL CString::LoadString(UINT id) {
  const corvane::res::ResourceModule* module = corvane::res::CurrentModule();
  const std::string* text = module ? module->FindString(id) : nullptr;
  text_ = text ? *text : "";
  return text ? TRUE : FALSE;
}

std::size_t CString::Length() const { return std::strlen(text_.c_str()); }

int CString::Find(LPCTSTR sub) const {
  std::string_view view(text_.c_str(), Length());
  std::size_t at = view.find(sub ? sub : "");
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int CString::Find(char ch) const {
  std::string_view view(text_.c_str(), Length());
  std::size_t at = view.find(ch);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

LPTSTR CString::GetBuffer(int minBufferLength) {
  std::size_t wanted = minBufferLength > 0 ? static_cast<std::size_t>(minBufferLength) : 0;
  if (text_.size() < wanted) text_.resize(wanted, '\0');
  return text_.data();
}

void CString::ReleaseBuffer(int newLength) {
  text_.resize(newLength < 0 ? Length() : static_cast<std::size_t>(newLength));
}

CString CString::Left(int count) const {
  std::size_t n = count < 0 ? 0 : static_cast<std::size_t>(count);
  return CString(std::string(text_.c_str(), std::min(n, Length())).c_str());
}

CString CString::Mid(int first) const {
  std::size_t from = first < 0 ? 0 : static_cast<std::size_t>(first);
  std::size_t length = Length();
  return CString(from >= length ? "" : text_.c_str() + from);
}

CString& CString::operator+=(LPCTSTR text) {
  text_.resize(Length());
  text_ += text ? text : "";
  return *this;
}

int CString::Compare(LPCTSTR text) const { return std::strcmp(text_.c_str(), text ? text : ""); }
