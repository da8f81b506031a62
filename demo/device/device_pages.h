// The device's own web pages, built into the program.
#pragma once
#include <string>
#include <string_view>

namespace demo {

struct Page {
  std::string_view contentType;
  std::string_view body;
};

// The page at `path` ("/" is the home page), or nullptr.
const Page* FindPage(std::string_view path);

}  // namespace demo
