# What goes out with Calvotrimex beside the program (install component calvotrimex): the
# manual page calvotrimex(1), the AppStream metadata, the licence as a machine-readable
# copyright file and the changelog. The version comes from project(); CHANGELOG.md must have
# its newest section for that version, and the release date and the changelog entry come
# from there.
set(CALVOTRIMEX_HOMEPAGE "https://calvotrimex.org/")
set(CALVOTRIMEX_CONTACT "Calvotrimex authors <authors@calvotrimex.org>")
set(CALVOTRIMEX_APPSTREAM_ID "org.calvotrimex.calvotrimex")

file(READ "${PROJECT_SOURCE_DIR}/CHANGELOG.md" changelog)
string(REGEX MATCH "\n## \\[([^]\n]*)\\] - ([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\n" newest "${changelog}")
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "CHANGELOG.md: the newest section is for \"${CMAKE_MATCH_1}\", not for version ${PROJECT_VERSION}")
endif()
set(year "${CMAKE_MATCH_2}")
set(month "${CMAKE_MATCH_3}")
set(day "${CMAKE_MATCH_4}")
set(CALVOTRIMEX_DATE "${year}-${month}-${day}")

# The section's list as a Debian changelog entry: "- " items become "  * ", their
# continuation lines move two places right.
string(FIND "${changelog}" "${newest}" start)
string(LENGTH "${newest}" length)
math(EXPR start "${start} + ${length}")
string(SUBSTRING "${changelog}" ${start} -1 changes)
string(FIND "${changes}" "\n## " end)
string(SUBSTRING "${changes}" 0 ${end} changes)
string(STRIP "${changes}" changes)
string(REGEX REPLACE "(^|\n)- " "\\1  * " changes "${changes}")
string(REGEX REPLACE "\n  ([^ *])" "\n    \\1" CALVOTRIMEX_CHANGES "${changes}")

# The date as RFC 5322 wants it, with the day of the week (Sakamoto's method, 0 = Sunday).
string(REGEX REPLACE "^0" "" m "${month}")
string(REGEX REPLACE "^0" "" d "${day}")
math(EXPR month_index "${m} - 1")
set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
set(weekdays Sun Mon Tue Wed Thu Fri Sat)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(GET offsets ${month_index} offset)
list(GET months ${month_index} monthname)
set(y ${year})
if(m LESS 3)
    math(EXPR y "${y} - 1")
endif()
math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${d}) % 7")
list(GET weekdays ${weekday} weekday)
set(CALVOTRIMEX_CHANGELOG_DATE "${weekday}, ${day} ${monthname} ${year} 00:00:00 +0000")

set(release "${PROJECT_BINARY_DIR}/release")
configure_file(packaging/calvotrimex.1.in "${release}/calvotrimex.1" @ONLY)
configure_file(packaging/changelog.in "${release}/changelog" @ONLY)
configure_file(packaging/copyright.in "${release}/copyright" @ONLY)
configure_file(packaging/calvotrimex.metainfo.xml.in "${release}/${CALVOTRIMEX_APPSTREAM_ID}.metainfo.xml" @ONLY)
# Compressed without name and time stamp, so the same sources give the same bytes.
foreach(file calvotrimex.1 changelog)
    execute_process(COMMAND gzip -9 -n -k -f "${release}/${file}" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip could not compress ${release}/${file}")
    endif()
endforeach()

install(FILES "${release}/calvotrimex.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT calvotrimex)
install(FILES "${release}/${CALVOTRIMEX_APPSTREAM_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo"
    COMPONENT calvotrimex)
install(FILES "${release}/copyright" "${release}/changelog.gz" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/calvotrimex"
    COMPONENT calvotrimex)
