#pragma once
// The files of the site, by the names the page and the program know them by.

#include "page_markup.h"

namespace quillomat::web {

inline constexpr PageFiles kSiteFiles{
    .styleSheet = "quillomat.css",
    .pageScript = "page.mjs",
    .program = "quillomat.wasm",
    .manifest = "quillomat.webmanifest",
    .banner = "banner.gif",
    .banner2x = "banner@2x.png",
    .icon16 = "icon-16.png",
    .icon32 = "icon-32.png",
    .touchIcon = "icon-192.png",
};

}  // namespace quillomat::web
