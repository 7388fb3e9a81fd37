# Debian package of Quillomat, made with `cpack -G DEB` (or `cpack`) in a build
# directory after the program is built.  What goes into the package is what
# the install() rules of qt/ and res/ install; the package's dependencies on
# shared libraries (Qt and the C++ runtime) are worked out by dpkg-shlibdeps,
# which needs the dpkg-dev and file packages on the machine that packs.

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "quillomat")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VERSION_MAJOR "${PROJECT_VERSION_MAJOR}")
set(CPACK_PACKAGE_VERSION_MINOR "${PROJECT_VERSION_MINOR}")
set(CPACK_PACKAGE_VERSION_PATCH "${PROJECT_VERSION_PATCH}")
set(CPACK_PACKAGE_VENDOR "Pellnor")
set(CPACK_PACKAGE_CONTACT "Quillomat maintainers <quillomat@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "significance calculator for comparing two players' rates")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillomat tells baseball analysts whether one player's rate (hits per\n\
at-bat, earned runs per inning pitched, ...) is significantly different\n\
from another's, with a two-proportion test at the 80, 90, 95 or 99 percent\n\
level. It is a small single-window Qt program that recalculates as you type.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's platform plugins, which no library links: X11 (xcb) and, in a Wayland session, Wayland
# itself rather than XWayland. dpkg-shlibdeps adds the libraries to these.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland")

include(CPack)
