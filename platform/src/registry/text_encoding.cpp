#include "registry/text_encoding.h"

#include <cstdint>

namespace platform::registry {
namespace {

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string Utf16ToUtf8(std::string_view bytes, ByteOrder order) {
  const std::size_t units = bytes.size() / 2;
  auto unitAt = [&](std::size_t i) -> std::uint32_t {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    return order == ByteOrder::Little ? (first | (second << 8)) : ((first << 8) | second);
  };
  std::string out;
  out.reserve(units);
  for (std::size_t i = 0; i < units; ++i) {
    const std::uint32_t unit = unitAt(i);
    if (IsHighSurrogate(unit) && i + 1 < units && IsLowSurrogate(unitAt(i + 1))) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      out += '?';
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::string DecodeHiveText(std::string_view fileBytes) {
  if (StartsWith(fileBytes, "\xFF\xFE")) return Utf16ToUtf8(fileBytes.substr(2), ByteOrder::Little);
  if (StartsWith(fileBytes, "\xFE\xFF")) return Utf16ToUtf8(fileBytes.substr(2), ByteOrder::Big);
  if (StartsWith(fileBytes, "\xEF\xBB\xBF")) return std::string(fileBytes.substr(3));
  return std::string(fileBytes);
}

}  // namespace platform::registry
