# vxtools_add_bundle(<target> <BundleName> [ICON <file>])
# Lays a program on vxtools out as the bundle folder <BundleName>.app in the build tree:
# the executable in Contents/bin/, the runtime's resources in Contents/Resources/. The ICON
# (an SVG) becomes Contents/Resources/AppIcon.svg, the program's window and tray icon;
# without one the runtime's calvotrimex.svg serves.
# The resources come from VXTOOLS_RESOURCE_DIR: the source tree's resources/ here, the
# installed ones when this file comes with the vxtools package.
if(NOT DEFINED VXTOOLS_RESOURCE_DIR)
    set(VXTOOLS_RESOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/../resources")
endif()
set(VXTOOLS_DESKTOP_TEMPLATE "${CMAKE_CURRENT_LIST_DIR}/program.desktop.in")

function(vxtools_resources out)
    file(GLOB resources CONFIGURE_DEPENDS "${VXTOOLS_RESOURCE_DIR}/*.ui" "${VXTOOLS_RESOURCE_DIR}/*.font"
         "${VXTOOLS_RESOURCE_DIR}/*.aif" "${VXTOOLS_RESOURCE_DIR}/*.svg")
    set(${out} ${resources} PARENT_SCOPE)
endfunction()

function(vxtools_add_bundle target bundle_name)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "ICON" "")
    set(bundle_dir "${CMAKE_CURRENT_BINARY_DIR}/${bundle_name}.app")
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${bundle_dir}/Contents/bin")
    vxtools_resources(resources)
    if(arg_ICON)
        get_filename_component(icon "${arg_ICON}" ABSOLUTE)
        list(APPEND resources "${icon}")
    endif()
    set(copied "")
    foreach(resource IN LISTS resources)
        get_filename_component(name "${resource}" NAME)
        if(arg_ICON AND resource STREQUAL icon)
            set(name AppIcon.svg)
        endif()
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

# vxtools_install_bundle(<target> <BundleName> [ICON <file>] [DESKTOP_LINES <line>...])
# Installs the bundle whole under <prefix>/lib/<target>/, a link <prefix>/bin/<target> to its
# executable and a desktop entry <prefix>/share/applications/<target>.desktop that starts
# that link; the ICON (an SVG) goes to the hicolor theme as <target>.svg and the entry names
# it. DESKTOP_LINES are added to the entry as they stand (Comment=..., Categories=...).
# Everything is installed as the install component <target>.
function(vxtools_install_bundle target bundle_name)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "ICON" "DESKTOP_LINES")
    include(GNUInstallDirs)
    set(bundle "${CMAKE_INSTALL_LIBDIR}/${target}/${bundle_name}.app")
    install(TARGETS ${target} RUNTIME DESTINATION "${bundle}/Contents/bin" COMPONENT ${target})
    vxtools_resources(resources)
    install(FILES ${resources} DESTINATION "${bundle}/Contents/Resources" COMPONENT ${target})

    set(VXTOOLS_DESKTOP_NAME "${bundle_name}")
    set(VXTOOLS_DESKTOP_EXEC "@VXTOOLS_DESKTOP_EXEC@")
    set(VXTOOLS_DESKTOP_ICON "")
    if(arg_ICON)
        set(VXTOOLS_DESKTOP_ICON "Icon=${target}")
        install(FILES "${arg_ICON}" DESTINATION "${bundle}/Contents/Resources" RENAME AppIcon.svg COMPONENT ${target})
        install(FILES "${arg_ICON}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
            RENAME "${target}.svg" COMPONENT ${target})
    endif()
    list(JOIN arg_DESKTOP_LINES "\n" VXTOOLS_DESKTOP_LINES)
    set(entry "${CMAKE_CURRENT_BINARY_DIR}/${target}.desktop.in")
    configure_file("${VXTOOLS_DESKTOP_TEMPLATE}" "${entry}" @ONLY)

    # The link and the entry's Exec= name the installed place, known only at install time
    # (cmake --install --prefix, DESTDIR). The Exec= path is quoted against blanks.
    install(CODE "
        set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
        if(DEFINED CPACK_PACKAGING_INSTALL_PREFIX)
            set(prefix \"\${CPACK_PACKAGING_INSTALL_PREFIX}\")
        endif()
        set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(MAKE_DIRECTORY \"\${bin}\")
        file(CREATE_LINK \"../${bundle}/Contents/bin/${target}\" \"\${bin}/${target}\" SYMBOLIC)
        message(STATUS \"Installing: \${bin}/${target}\")
        set(VXTOOLS_DESKTOP_EXEC \"\\\"\${prefix}/${CMAKE_INSTALL_BINDIR}/${target}\\\"\")
        set(applications \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
        configure_file(\"${entry}\" \"\${applications}/${target}.desktop\" @ONLY)
        message(STATUS \"Installing: \${applications}/${target}.desktop\")"
        COMPONENT ${target})
endfunction()
