# Installing the game for the desktop, and its Debian package (`make package`),
# laid out as Debian lays out its own games.
set(TESSAFORM_APP_ID org.example.Tessaform)
set(TESSAFORM_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging)

# The metadata and the manual page name the home page, the address for reports and
# the licence's place as the top CMakeLists sets them.
set(TESSAFORM_METAINFO ${CMAKE_BINARY_DIR}/${TESSAFORM_APP_ID}.metainfo.xml)
set(TESSAFORM_MANUAL ${CMAKE_BINARY_DIR}/tessaform.6)
configure_file(${TESSAFORM_PACKAGING_DIR}/${TESSAFORM_APP_ID}.metainfo.xml.in
               ${TESSAFORM_METAINFO} @ONLY)
configure_file(${TESSAFORM_PACKAGING_DIR}/tessaform.6.in ${TESSAFORM_MANUAL} @ONLY)

install(TARGETS tessaform RUNTIME DESTINATION games)
install(FILES ${TESSAFORM_PACKAGING_DIR}/${TESSAFORM_APP_ID}.desktop
        DESTINATION share/applications)
install(FILES ${TESSAFORM_METAINFO} DESTINATION share/metainfo)

# One drawing serves the desktop's icon theme at every size.
install(FILES ${TESSAFORM_PACKAGING_DIR}/${TESSAFORM_APP_ID}.svg
        DESTINATION share/icons/hicolor/scalable/apps)

# The manual page and the changelog go in compressed as Debian wants them: at
# the highest level and without a time stamp, so that every build is the same.
set(TESSAFORM_GZIPPED)
foreach(file ${TESSAFORM_MANUAL} ${TESSAFORM_PACKAGING_DIR}/changelog)
    get_filename_component(name ${file} NAME)
    add_custom_command(
        OUTPUT ${CMAKE_BINARY_DIR}/${name}.gz
        COMMAND gzip -9nc ${file} > ${CMAKE_BINARY_DIR}/${name}.gz
        DEPENDS ${file}
        VERBATIM)
    list(APPEND TESSAFORM_GZIPPED ${CMAKE_BINARY_DIR}/${name}.gz)
endforeach()
add_custom_target(tessaform_docs ALL DEPENDS ${TESSAFORM_GZIPPED})
install(FILES ${CMAKE_BINARY_DIR}/tessaform.6.gz DESTINATION share/man/man6)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${TESSAFORM_DOC_DIR})

# The copyright file in Debian's machine-readable form quotes the permission
# notice of LICENSE, so the two cannot drift apart.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "^.*\n\n(Permission )" "\\1" licence "${licence}")
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " TESSAFORM_LICENCE_TEXT "${licence}")
configure_file(${TESSAFORM_PACKAGING_DIR}/copyright.in ${CMAKE_BINARY_DIR}/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/copyright DESTINATION ${TESSAFORM_DOC_DIR})

# The package is made from what was built: cpack must not rebuild binaries that
# tests running beside it are using.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The Debian package. Library dependencies come from dpkg-shlibdeps; the Qt
# platform plugin and the fonts are loaded at run time, so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaform)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tessaform developers")
set(CPACK_PACKAGE_CONTACT "The Tessaform developers <tessaform@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "timed puzzle of twelve blocks of shapes")
set(CPACK_PACKAGE_DESCRIPTION
    "Twelve blocks each show a circle, a cross, a square and a triangle. Click the
arrows inside a block to swap its shapes until every block matches the master
block, before the 105 seconds of a game run out. Five games make a set.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${TESSAFORM_PACKAGE_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
# On a Wayland desktop Qt prefers its Wayland plugin, which Debian ships apart.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)
