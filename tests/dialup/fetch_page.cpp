// The browser of the end-to-end tests: fetches the URL it is started on and
// writes the page to OUTPUT (through a temporary name, so a reader never
// sees half a page). Nothing is written when the fetch fails.
//   fetch_page OUTPUT URL
#include <cstdio>
#include <fstream>
#include <string>

#include "http_get.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fetch_page OUTPUT URL\n");
    return 2;
  }
  auto page = dialup::testbed::HttpGet(argv[2]);
  if (!page) return 1;
  std::string output = argv[1];
  std::string temp = output + ".part";
  {
    std::ofstream out(temp, std::ios::binary);
    out << *page;
    if (!out.flush()) return 1;
  }
  return std::rename(temp.c_str(), output.c_str()) == 0 ? 0 : 1;
}
