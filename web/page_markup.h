#pragma once
// The web page's markup and the window's style sheet, written from the window table when the site
// is built: the browser paints the window from them before the program itself has loaded.

#include <string>
#include <string_view>

namespace quillomat::web {

// The address of each file the page names, relative to the page.
struct PageFiles {
  std::string_view styleSheet, pageScript, program, manifest;
  std::string_view banner, banner2x;
  std::string_view icon16, icon32, touchIcon;
};

// index.html, UTF-8: every control of the window as the element of its kind, in reading order,
// positioned by the style sheet; the message box, the tooltip and the page shown after Exit.
std::string PageHtml(const PageFiles& files);

// The rules the table gives each control: its box, font, alignment and colours, by its name. They go
// after the page's own style sheet, which lays the window out and restyles it for narrow screens.
std::string WindowCss();

}  // namespace quillomat::web
