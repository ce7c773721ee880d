# vxtools_add_bundle(<target> <BundleName>)
# Lays a program on vxtools out as the bundle folder <BundleName>.app in the build tree:
# the executable in Contents/bin/, the runtime's resources in Contents/Resources/.
set(VXTOOLS_RESOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/../resources")

function(vxtools_add_bundle target bundle_name)
    set(bundle_dir "${CMAKE_CURRENT_BINARY_DIR}/${bundle_name}.app")
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${bundle_dir}/Contents/bin")
    file(GLOB resources CONFIGURE_DEPENDS "${VXTOOLS_RESOURCE_DIR}/*.ui" "${VXTOOLS_RESOURCE_DIR}/*.font"
         "${VXTOOLS_RESOURCE_DIR}/*.aif")
    set(copied "")
    foreach(resource IN LISTS resources)
        get_filename_component(name "${resource}" NAME)
        set(destination "${bundle_dir}/Contents/Resources/${name}")
        add_custom_command(OUTPUT "${destination}"
            COMMAND ${CMAKE_COMMAND} -E copy_if_different "${resource}" "${destination}"
            DEPENDS "${resource}" VERBATIM)
        list(APPEND copied "${destination}")
    endforeach()
    add_custom_target(${target}_resources DEPENDS ${copied})
    add_dependencies(${target} ${target}_resources)
    set_property(TARGET ${target} PROPERTY VXTOOLS_BUNDLE_DIR "${bundle_dir}")
endfunction()

# vxtools_install_bundle(<target> <BundleName>)
# Installs the bundle whole under <prefix>/lib/<target>/, a link <prefix>/bin/<target> to its
# executable and a desktop entry <prefix>/share/applications/<target>.desktop.
function(vxtools_install_bundle target bundle_name)
    include(GNUInstallDirs)
    set(bundle "${CMAKE_INSTALL_LIBDIR}/${target}/${bundle_name}.app")
    install(TARGETS ${target} RUNTIME DESTINATION "${bundle}/Contents/bin")
    file(GLOB resources "${VXTOOLS_RESOURCE_DIR}/*.ui" "${VXTOOLS_RESOURCE_DIR}/*.font" "${VXTOOLS_RESOURCE_DIR}/*.aif")
    install(FILES ${resources} DESTINATION "${bundle}/Contents/Resources")
    install(CODE "
        set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${target}\")
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(CREATE_LINK \"../${bundle}/Contents/bin/${target}\" \"\${link}\" SYMBOLIC)
        message(STATUS \"Installing: \${link}\")")
    set(VXTOOLS_DESKTOP_NAME "${bundle_name}")
    set(VXTOOLS_DESKTOP_EXEC "${target}")
    configure_file("${VXTOOLS_RESOURCE_DIR}/../cmake/program.desktop.in" "${CMAKE_CURRENT_BINARY_DIR}/${target}.desktop" @ONLY)
    install(FILES "${CMAKE_CURRENT_BINARY_DIR}/${target}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
endfunction()
