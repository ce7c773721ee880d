# cpack -G DEB makes calvotrimex_<version>_amd64.deb of the install component calvotrimex:
# the bundle under /usr/lib/calvotrimex/, the link /usr/bin/calvotrimex, the desktop entry,
# the icon, the AppStream metadata, the manual page, the copyright file and the changelog.
# Its Depends come from the libraries the program links (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME calvotrimex)
set(CPACK_PACKAGE_VENDOR "Calvotrimex authors")
set(CPACK_PACKAGE_CONTACT "${CALVOTRIMEX_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "measures how many threads the computer runs in parallel")
# Lines of at most 80 characters: the package's extended description as it is shown.
set(CPACK_PACKAGE_DESCRIPTION "Calvotrimex runs the same amount of floating-point work, one thousand million
additions, split over 1, 2, 4 and more threads up to 96. The first pass that is
not faster than the one before ends the measurement; the window then shows how
many threads the computer runs in parallel and how fast it adds, in GFLOPs.
Without a display it runs offscreen, and --result writes the result as JSON.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${CALVOTRIMEX_HOMEPAGE}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};calvotrimex;/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the SVG icon engine, which draws the window and tray icon, as a plugin at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
# Qt's own texts in the file panels are German with it, English without.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_STRIP_FILES ON)
include(CPack)
