# cpack -G DEB makes calvotrimex_<version>_amd64.deb of the install component calvotrimex:
# the bundle under /usr/lib/calvotrimex/, the link /usr/bin/calvotrimex, the desktop entry
# and the icon. Its Depends come from the libraries the program links (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME calvotrimex)
set(CPACK_PACKAGE_VENDOR Calvotrimex)
set(CPACK_PACKAGE_CONTACT "Calvotrimex <calvotrimex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Measures parallel threads and addition speed of the computer")
set(CPACK_PACKAGE_DESCRIPTION "Calvotrimex measures how many threads a machine runs in parallel and how fast it adds floating-point numbers, and shows the result in a text-and-graphics window.")
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
