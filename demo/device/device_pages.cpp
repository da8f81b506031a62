#include "device_pages.h"

#include <cstddef>

extern const unsigned char kIndexPage[];
extern const std::size_t kIndexPage_size;
extern const unsigned char kLinkPage[];
extern const std::size_t kLinkPage_size;

namespace demo {
namespace {

std::string_view Bytes(const unsigned char* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace

const Page* FindPage(std::string_view path) {
  static const Page home{"text/html; charset=utf-8", Bytes(kIndexPage, kIndexPage_size)};
  static const Page link{"text/html; charset=utf-8", Bytes(kLinkPage, kLinkPage_size)};
  // A query string does not change which page is shown.
  path = path.substr(0, path.find('?'));
  if (path == "/" || path == "/index.html" || path == "/index.htm") return &home;
  if (path == "/link.html") return &link;
  return nullptr;
}

}  // namespace demo
