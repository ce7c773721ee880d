# Installs vxtools as a library (install component vxtools): vxtools.h, the static library,
# the runtime's resources, the CMake package vxtools (target vxtools::vxtools and
# vxtools_add_bundle), the pkg-config file vxtools.pc and the licence (MIT, LICENSE).
include(CMakePackageConfigHelpers)
set(VXTOOLS_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/vxtools")
set(VXTOOLS_INSTALL_RESOURCEDIR "${CMAKE_INSTALL_DATADIR}/vxtools")

install(TARGETS vxtools EXPORT vxtoolsTargets ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT vxtools)
install(FILES src/vxtools.h DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}" COMPONENT vxtools)
install(FILES LICENSE DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/vxtools" COMPONENT vxtools)
vxtools_resources(vxtools_resource_files)
install(FILES ${vxtools_resource_files} DESTINATION "${VXTOOLS_INSTALL_RESOURCEDIR}" COMPONENT vxtools)

install(EXPORT vxtoolsTargets NAMESPACE vxtools:: DESTINATION "${VXTOOLS_INSTALL_CMAKEDIR}" COMPONENT vxtools)
configure_package_config_file(cmake/vxtoolsConfig.cmake.in "${PROJECT_BINARY_DIR}/vxtoolsConfig.cmake"
    INSTALL_DESTINATION "${VXTOOLS_INSTALL_CMAKEDIR}" PATH_VARS VXTOOLS_INSTALL_RESOURCEDIR)
write_basic_package_version_file("${PROJECT_BINARY_DIR}/vxtoolsConfigVersion.cmake"
    COMPATIBILITY SameMinorVersion)
install(FILES "${PROJECT_BINARY_DIR}/vxtoolsConfig.cmake" "${PROJECT_BINARY_DIR}/vxtoolsConfigVersion.cmake"
    cmake/VxBundle.cmake cmake/program.desktop.in
    DESTINATION "${VXTOOLS_INSTALL_CMAKEDIR}" COMPONENT vxtools)

# vxtools.pc names the prefix it is installed to, known only at install time; blanks in it
# are escaped as pkg-config expects. The library is static: its own dependencies are
# required outright, not privately.
set(VXTOOLS_PC_PREFIX "@VXTOOLS_PC_PREFIX@")
configure_file(cmake/vxtools.pc.in "${PROJECT_BINARY_DIR}/vxtools.pc.in" @ONLY)
install(CODE "
    string(REPLACE \" \" \"\\\\ \" VXTOOLS_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    set(pkgconfig \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")
    configure_file(\"${PROJECT_BINARY_DIR}/vxtools.pc.in\" \"\${pkgconfig}/vxtools.pc\" @ONLY)
    message(STATUS \"Installing: \${pkgconfig}/vxtools.pc\")"
    COMPONENT vxtools)
