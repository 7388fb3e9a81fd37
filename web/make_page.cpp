// Writes the site's page and style sheet from the window table, when the site is built:
//   make_page PAGE_CSS OUT_DIR
// reads the page's own style sheet and writes OUT_DIR/index.html and OUT_DIR/quillomat.css (the
// page's rules, then the window's).
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "page_markup.h"
#include "site_files.h"

namespace {

bool Write(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_page PAGE_CSS OUT_DIR\n");
    return 2;
  }
  std::ifstream pageCss(argv[1], std::ios::binary);
  if (!pageCss) {
    std::fprintf(stderr, "make_page: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string rules{std::istreambuf_iterator<char>(pageCss), std::istreambuf_iterator<char>()};
  const std::string out = argv[2];
  const quillomat::web::PageFiles& files = quillomat::web::kSiteFiles;
  if (!Write(out + "/index.html", quillomat::web::PageHtml(files)) ||
      !Write(out + "/" + std::string(files.styleSheet), rules + "\n" + quillomat::web::WindowCss())) {
    std::fprintf(stderr, "make_page: cannot write into %s\n", argv[2]);
    return 1;
  }
  return 0;
}
