// Text of hive files: byte-order marks and UTF-16, turned into UTF-8.
#pragma once
#include <string>
#include <string_view>

namespace platform::registry {

enum class ByteOrder { Little, Big };

// UTF-16 code units to UTF-8. A lone surrogate becomes '?'; a last odd byte
// is dropped. NUL code units stay NUL bytes, so REG_MULTI_SZ keeps its shape.
std::string Utf16ToUtf8(std::string_view bytes, ByteOrder order);

// The file's text as UTF-8: a UTF-16 file (with its byte-order mark) is
// decoded and a UTF-8 byte-order mark dropped. Other text stays as it is when
// it is valid UTF-8, as files written on this system are; otherwise it is the
// Windows ANSI code page (1252) that regedit exported it in.
std::string DecodeHiveText(std::string_view fileBytes);

}  // namespace platform::registry
