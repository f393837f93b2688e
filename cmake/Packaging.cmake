# `cpack -G DEB` in the build folder: one Debian package with both programs,
# their desktop entries and the icon, installed under /usr.
set(CPACK_PACKAGE_NAME nitkograf)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Nitkograf")
set(CPACK_PACKAGE_CONTACT "Nitkograf maintainers <maintainers@users.noreply.c-seed-7d1243df.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "function plotter with two worker threads")
set(CPACK_PACKAGE_DESCRIPTION
  "Nitkograf tabulates f(x, p) = exp(-x) - cos(x) + p*x/10 on [0, 10] on two
worker threads and plots both into one chart while its window stays
responsive; each worker can be suspended and resumed, and p changed while
they run. The chart zooms and scrolls with the mouse.
.
nitkograf-gallery shows the processor load as a scrolling graph and a month
calendar.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt 6 libraries (the X11 platform plugin comes with libqt6gui6) and the C++
# runtime from what the programs link, through dpkg-shlibdeps (dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Read at run time, so no linking shows them: the fonts the programs' own
# fonts are mapped to.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")

include(CPack)
