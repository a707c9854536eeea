# Installing the game for the desktop, and its Debian package (`make package`).
include(GNUInstallDirs)

set(TESSAFORM_APP_ID org.example.Tessaform)
set(TESSAFORM_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging)

install(TARGETS tessaform RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${TESSAFORM_PACKAGING_DIR}/${TESSAFORM_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TESSAFORM_PACKAGING_DIR}/${TESSAFORM_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The theme icons are drawn at build time; no picture is kept in the repository.
add_executable(tessaform-icons ${TESSAFORM_PACKAGING_DIR}/icon/main.cpp)
target_link_libraries(tessaform-icons PRIVATE Qt6::Gui)
set(TESSAFORM_ICON_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)
set(TESSAFORM_ICONS)
foreach(size 16 32 48 64 128 256)
    list(APPEND TESSAFORM_ICONS ${TESSAFORM_ICON_DIR}/${size}x${size}/apps/${TESSAFORM_APP_ID}.png)
endforeach()
add_custom_command(
    OUTPUT ${TESSAFORM_ICONS}
    COMMAND tessaform-icons ${TESSAFORM_ICON_DIR}
    DEPENDS tessaform-icons
    COMMENT "Drawing the desktop icons"
    VERBATIM)
add_custom_target(tessaform_desktop_icons ALL DEPENDS ${TESSAFORM_ICONS})
install(DIRECTORY ${TESSAFORM_ICON_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The desktop entry and the AppStream metadata pass their own validators.
add_test(NAME desktop_entry_is_valid
    COMMAND desktop-file-validate ${TESSAFORM_PACKAGING_DIR}/${TESSAFORM_APP_ID}.desktop)
add_test(NAME metainfo_is_valid
    COMMAND appstreamcli validate --no-net
            ${TESSAFORM_PACKAGING_DIR}/${TESSAFORM_APP_ID}.metainfo.xml)
# What `cmake --install` lays down, looked at file by file.
add_test(NAME install_tree_is_complete
    COMMAND sh ${TESSAFORM_PACKAGING_DIR}/check-install.sh ${CMAKE_BINARY_DIR})
set_tests_properties(desktop_entry_is_valid metainfo_is_valid install_tree_is_complete
    PROPERTIES LABELS install)

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
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tessaform.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
include(CPack)
